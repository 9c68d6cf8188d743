#include "device/shader_bytecode/assembler_lexer.h"

namespace platform::device::bytecode::assembly {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsWordStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

} // namespace

void Lexer::Advance() {
    if (text_[at_++] == '\n') {
        ++line_;
        column_ = 1;
    } else {
        ++column_;
    }
}

void Lexer::SkipSpaceAndComments() {
    while (at_ < length_) {
        const char c = text_[at_];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0') {
            Advance();
        } else if (c == ';' || (c == '/' && At(1, '/'))) {
            while (at_ < length_ && text_[at_] != '\n')
                Advance();
        } else if (c == '/' && At(1, '*')) {
            Advance();
            Advance();
            while (at_ < length_ && !(At(0, '*') && At(1, '/')))
                Advance();
            for (int i = 0; i < 2 && at_ < length_; ++i)
                Advance();
        } else {
            return;
        }
    }
}

Token Lexer::Scan() {
    SkipSpaceAndComments();
    Token token;
    token.line = line_;
    token.column = column_;
    if (at_ >= length_)
        return token;
    const std::size_t start = at_;
    const char c = text_[at_];
    if (IsWordStart(c)) {
        token.kind = Token::kWord;
        while (at_ < length_ && (IsWordStart(text_[at_]) || IsDigit(text_[at_])))
            Advance();
    } else if (IsDigit(c) || (c == '.' && at_ + 1 < length_ && IsDigit(text_[at_ + 1]))) {
        token.kind = Token::kNumber;
        while (at_ < length_ && (IsDigit(text_[at_]) || text_[at_] == '.'))
            Advance();
        if (At(0, 'e') || At(0, 'E')) {
            Advance();
            if (At(0, '+') || At(0, '-'))
                Advance();
            while (at_ < length_ && IsDigit(text_[at_]))
                Advance();
        }
        if (At(0, 'f') || At(0, 'F'))
            Advance();
    } else {
        token.kind = std::string_view(",.[]()+-!").find(c) == std::string_view::npos ? Token::kUnknown
                                                                                     : Token::kPunctuation;
        Advance();
    }
    token.text = std::string_view(text_ + start, at_ - start);
    return token;
}

const Token& Lexer::Peek() {
    if (!peeked_) {
        next_ = Scan();
        peeked_ = true;
    }
    return next_;
}

Token Lexer::Next() {
    Peek();
    peeked_ = false;
    return next_;
}

} // namespace platform::device::bytecode::assembly
