// Splits shader assembly text into words, numbers and punctuation with their line and column,
// skipping white space and comments (//, ; and /* */). Reads no byte past the length given.
#ifndef VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_ASSEMBLER_LEXER_H
#define VTR3_PLATFORM_DEVICE_SHADER_BYTECODE_ASSEMBLER_LEXER_H

#include <cstddef>
#include <string_view>

namespace platform::device::bytecode::assembly {

struct Token {
    enum Kind { kEnd, kWord, kNumber, kPunctuation, kUnknown } kind = kEnd;
    std::string_view text;
    int line = 1;
    int column = 1;
    bool Is(char c) const { return kind == kPunctuation && text[0] == c; }
};

class Lexer {
  public:
    Lexer(const char* text, std::size_t length) : text_(text), length_(text ? length : 0) {}
    Token Next();
    const Token& Peek();

  private:
    Token Scan();
    void SkipSpaceAndComments();
    bool At(std::size_t offset, char c) const { return at_ + offset < length_ && text_[at_ + offset] == c; }
    void Advance();

    const char* text_;
    std::size_t length_;
    std::size_t at_ = 0;
    int line_ = 1;
    int column_ = 1;
    bool peeked_ = false;
    Token next_;
};

} // namespace platform::device::bytecode::assembly

#endif
