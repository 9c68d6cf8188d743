#include "fx/effect_lexer.h"

#include <cctype>

namespace platform::fx {
namespace {

constexpr int kMaxMacroDepth = 8;
constexpr std::size_t kMaxTokens = std::size_t{1} << 22;

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdent(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Raw tokens of a text; line and column count from the given start.
std::vector<Token> Scan(const std::string& text, bool skipDirectives) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    int line = 0;
    std::size_t lineStart = 0;
    bool lineHasToken = false;
    const auto newline = [&](std::size_t at) {
        ++line;
        lineStart = at + 1;
        lineHasToken = false;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            newline(i);
            ++i;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (text.compare(i, 2, "//") == 0) {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (text.compare(i, 2, "/*") == 0) {
            const std::size_t end = text.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? text.size() : end + 2;
            for (; i < stop; ++i) {
                if (text[i] == '\n')
                    newline(i);
            }
        } else if (c == '#' && !lineHasToken && skipDirectives) {
            // A directive line (the #define lines kept for glslang), with its continuations.
            while (i < text.size() && text[i] != '\n') {
                if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\n') {
                    ++i;
                    newline(i);
                }
                ++i;
            }
        } else {
            Token t;
            t.begin = i;
            t.line = line;
            t.column = static_cast<int>(i - lineStart) + 1;
            if (IsIdentStart(c)) {
                t.kind = Token::Identifier;
                while (i < text.size() && IsIdent(text[i]))
                    ++i;
            } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                       (c == '.' && i + 1 < text.size() &&
                        std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
                t.kind = Token::Number;
                while (i < text.size() &&
                       (IsIdent(text[i]) || text[i] == '.' ||
                        ((text[i] == '+' || text[i] == '-') && (text[i - 1] == 'e' || text[i - 1] == 'E') &&
                         !(t.begin + 1 < text.size() &&
                           (text[t.begin + 1] == 'x' || text[t.begin + 1] == 'X')))))
                    ++i;
            } else if (c == '"') {
                t.kind = Token::String;
                ++i;
                while (i < text.size() && text[i] != '"' && text[i] != '\n') {
                    i += (text[i] == '\\' && i + 1 < text.size()) ? 2 : 1;
                }
                if (i < text.size() && text[i] == '"')
                    ++i;
            } else {
                t.kind = Token::Punctuation;
                ++i;
            }
            t.end = i;
            t.text = text.substr(t.begin, t.end - t.begin);
            tokens.push_back(t);
            lineHasToken = true;
        }
    }
    return tokens;
}

void Expand(const EffectSource& source, const Token& name, int depth, std::vector<Token>* out);

void Emit(const EffectSource& source, const Token& token, int depth, std::vector<Token>* out) {
    // Depth and total size are bounded so that hostile macros cannot exhaust memory.
    if (token.kind == Token::Identifier && depth < kMaxMacroDepth && out->size() < kMaxTokens) {
        const Macro* macro = source.FindMacro(token.text, token.line);
        if (macro && !macro->functionLike) {
            Expand(source, token, depth, out);
            return;
        }
    }
    out->push_back(token);
}

void Expand(const EffectSource& source, const Token& name, int depth, std::vector<Token>* out) {
    const Macro* macro = source.FindMacro(name.text, name.line);
    for (Token t : Scan(macro->body, false)) {
        t.begin = name.begin;
        t.end = name.end;
        t.line = name.line;
        t.column = name.column;
        if (t.text == name.text)
            out->push_back(t); // a macro naming itself stays a name
        else
            Emit(source, t, depth + 1, out);
    }
}

} // namespace

std::vector<Token> Tokenize(const EffectSource& source) {
    const std::vector<Token> raw = Scan(source.text, true);
    std::vector<Token> tokens;
    tokens.reserve(raw.size() + 1);
    for (const Token& t : raw)
        Emit(source, t, 0, &tokens);
    Token end;
    end.begin = end.end = source.text.size();
    end.line = source.lines.empty() ? 0 : static_cast<int>(source.lines.size()) - 1;
    tokens.push_back(end);
    return tokens;
}

} // namespace platform::fx
