// Tokens of the combined effect text for the effect-syntax parser. Comments and preprocessor lines
// are skipped; macros in force are expanded, function-like ones with their arguments (their tokens
// keep the place of the invocation).
#ifndef VTR3_PLATFORM_FX_EFFECT_LEXER_H
#define VTR3_PLATFORM_FX_EFFECT_LEXER_H

#include "fx/effect_source.h"

#include <string>
#include <vector>

namespace platform::fx {

struct Token {
    enum Kind { Identifier, Number, String, Punctuation, End };
    Kind kind = End;
    std::string text;
    std::size_t begin = 0; // offsets into the combined text
    std::size_t end = 0;
    int line = 0;   // combined line index
    int column = 1; // 1-based
};

// At most this many tokens come from expanding macros, over the whole text.
constexpr std::size_t kMaxExpandedTokens = std::size_t{1} << 20;

// When expansion would exceed kMaxExpandedTokens the tokens are only the end, and *overBudget (if
// given) becomes the invocation that went over; otherwise it is left alone.
std::vector<Token> Tokenize(const EffectSource& source, Token* overBudget = nullptr);

} // namespace platform::fx

#endif
