// Edits of the HLSL text at offsets of the lexer's tokens, applied together from the end so that
// every offset stays that of the text the lexer read.
#ifndef VTR3_PLATFORM_FX_TEXT_EDITS_H
#define VTR3_PLATFORM_FX_TEXT_EDITS_H

#include "fx/effect_lexer.h"

#include <algorithm>
#include <string>
#include <vector>

namespace platform::fx {

struct TextEdit {
    std::size_t offset = 0;
    std::size_t length = 0; // characters replaced; 0 inserts
    std::string text;
};

// Token i is there and reads `text`.
inline bool IsToken(const std::vector<Token>& t, std::size_t i, const char* text) {
    return i < t.size() && t[i].kind != Token::End && t[i].text == text;
}

// The token's text is still at its place (not blanked, not from a macro), so an edit may touch it.
inline bool InPlace(const Token& t, const std::string& hlsl) {
    return t.end <= hlsl.size() && t.end > t.begin && hlsl.compare(t.begin, t.end - t.begin, t.text) == 0;
}

inline void ApplyEdits(std::vector<TextEdit> edits, std::string* text) {
    std::stable_sort(edits.begin(), edits.end(),
                     [](const TextEdit& a, const TextEdit& b) { return a.offset > b.offset; });
    for (const TextEdit& e : edits) {
        if (e.offset + e.length <= text->size())
            text->replace(e.offset, e.length, e.text);
    }
}

} // namespace platform::fx

#endif
