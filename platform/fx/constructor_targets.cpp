#include "fx/constructor_targets.h"

#include "fx/initializer_lists.h"

namespace platform::fx {
namespace {

// vtr3_SplitN overloads for every way of splitting N components into two or more vectors.
void Splits(int n, std::vector<int>* parts, std::string* out) {
    int used = 0;
    for (int p : *parts)
        used += p;
    if (used == n) {
        if (parts->size() < 2)
            return;
        std::string parameters;
        std::string body;
        int component = 0;
        for (std::size_t i = 0; i < parts->size(); ++i) {
            const int p = (*parts)[i];
            const std::string name = "a" + std::to_string(i);
            parameters += "out float" + (p > 1 ? std::to_string(p) : std::string()) + " " + name + ", ";
            body +=
                name + " = v." + std::string("xyzw").substr(static_cast<std::size_t>(component), p) + "; ";
            component += p;
        }
        *out += "void vtr3_Split" + std::to_string(n) + "(" + parameters + "float" + std::to_string(n) +
                " v) { " + body + "} ";
        return;
    }
    for (int p = 1; used + p <= n; ++p) {
        parts->push_back(p);
        Splits(n, parts, out);
        parts->pop_back();
    }
}

} // namespace

std::vector<TextEdit> RewriteConstructorTargets(const std::vector<Token>& t, const std::string& hlsl) {
    std::vector<TextEdit> edits;
    bool used[5] = {};
    for (std::size_t i = 1; i + 1 < t.size(); ++i) {
        const std::string& type = t[i].text;
        const int n = NumericComponents(type);
        const bool floats = type.compare(0, 5, "float") == 0 || type.compare(0, 4, "half") == 0;
        if (t[i].kind != Token::Identifier || n < 2 || n > 4 || !floats || !IsToken(t, i + 1, "(") ||
            !(IsToken(t, i - 1, ";") || IsToken(t, i - 1, "{") || IsToken(t, i - 1, "}") ||
              IsToken(t, i - 1, ")") || IsToken(t, i - 1, "else")))
            continue;
        // A statement of its own (also the body of an if, else, for or while), then the arguments up
        // to the matching ')', then '=' (not '=='), then the value up to ';'.
        int depth = 0;
        int arguments = 1;
        std::size_t close = i + 1;
        for (; close < t.size() && t[close].kind != Token::End; ++close) {
            depth += IsToken(t, close, "(") ? 1 : IsToken(t, close, ")") ? -1 : 0;
            arguments += depth == 1 && IsToken(t, close, ",");
            if (depth == 0 || IsToken(t, close, ";") || IsToken(t, close, "{") || IsToken(t, close, "}"))
                break; // arguments end at ')'; a statement's end means it was no target
        }
        if (depth != 0 || arguments < 2 || arguments > n || !IsToken(t, close + 1, "=") ||
            IsToken(t, close + 2, "="))
            continue;
        std::size_t end = close + 2;
        for (depth = 0; end < t.size() && t[end].kind != Token::End; ++end) {
            depth += (IsToken(t, end, "(") || IsToken(t, end, "["))   ? 1
                     : (IsToken(t, end, ")") || IsToken(t, end, "]")) ? -1
                                                                      : 0;
            if (depth < 0 ||
                (depth == 0 && (IsToken(t, end, ";") || IsToken(t, end, "{") || IsToken(t, end, "}"))))
                break;
        }
        if (!IsToken(t, end, ";") || !InPlace(t[i], hlsl) || !InPlace(t[close], hlsl) ||
            !InPlace(t[close + 1], hlsl) || !InPlace(t[end], hlsl))
            continue;
        edits.push_back({t[i].begin, t[i].end - t[i].begin, "vtr3_Split" + std::to_string(n)});
        edits.push_back({t[close].begin, 1, ","});
        edits.push_back({t[close + 1].begin, 1, " "});
        edits.push_back({t[end].begin, 0, ")"});
        used[n] = true;
        i = end;
    }
    std::string helpers;
    for (int n = 2; n <= 4; ++n) {
        std::vector<int> parts;
        if (used[n])
            Splits(n, &parts, &helpers);
    }
    if (!helpers.empty() && !t.empty() && InPlace(t[0], hlsl))
        edits.push_back({t[0].begin, 0, helpers});
    return edits;
}

} // namespace platform::fx
