#include "fx/array_casts.h"

#include "fx/initializer_lists.h"

#include <map>
#include <set>
#include <string>
#include <tuple>

namespace platform::fx {
namespace {

bool IsScalarType(const std::string& text) {
    return NumericComponents(text) == 1 && text != "vector" && text != "matrix";
}

// The vector's scalar type and length (float3: float, 3); false for anything else.
bool SplitVector(const std::string& text, std::string* scalar, int* size) {
    const int n = NumericComponents(text);
    if (n < 1 || n > 4 || text.size() < 2 || text.back() != static_cast<char>('0' + n))
        return false;
    *scalar = text.substr(0, text.size() - 1);
    *size = n;
    return IsScalarType(*scalar);
}

// A small positive element count written as a number.
int CountOf(const Token& t) {
    if (t.kind != Token::Number || t.text.size() > 2 ||
        t.text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int n = std::stoi(t.text);
    return n >= 1 && n <= 4 ? n : 0;
}

// The index after the operand that starts at i: an identifier, number or parenthesised expression,
// followed by member accesses, subscripts and call arguments; i itself when there is none.
std::size_t OperandEnd(const std::vector<Token>& t, std::size_t i) {
    if (i >= t.size() || t[i].kind == Token::End)
        return i;
    std::size_t end = i;
    if (t[i].kind == Token::Identifier || t[i].kind == Token::Number)
        end = i + 1;
    else if (!IsToken(t, i, "("))
        return i;
    for (;;) {
        if (IsToken(t, end, ".") && end + 1 < t.size() && t[end + 1].kind == Token::Identifier) {
            end += 2;
            continue;
        }
        if (!IsToken(t, end, "(") && !IsToken(t, end, "["))
            return end;
        int depth = 0;
        for (; end < t.size() && t[end].kind != Token::End; ++end) {
            depth += (IsToken(t, end, "(") || IsToken(t, end, "["))   ? 1
                     : (IsToken(t, end, ")") || IsToken(t, end, "]")) ? -1
                                                                      : 0;
            if (depth == 0)
                break;
            if (IsToken(t, end, ";") || IsToken(t, end, "{") || IsToken(t, end, "}"))
                return i;
        }
        if (depth != 0)
            return i;
        ++end;
    }
}

std::string Components(const char* base, int count, const char* separator) {
    std::string out;
    for (int k = 0; k < count; ++k)
        out += (k ? separator : "") + std::string(base) +
               (base[0] == 'a' ? "[" + std::to_string(k) + "]" : std::string(1, "xyzw"[k]));
    return out;
}

// vtr3_Array_T_N from a scalar (every element) and from each vector of at least N components.
std::string ArrayHelpers(const std::string& scalar, int n) {
    const std::string type = "vtr3_" + scalar + "_" + std::to_string(n);
    const std::string name = "vtr3_Array_" + scalar + "_" + std::to_string(n);
    std::string out = "typedef " + scalar + " " + type + "[" + std::to_string(n) + "]; ";
    std::string splat;
    for (int k = 0; k < n; ++k)
        splat += k ? ", v" : "v";
    out += type + " " + name + "(" + scalar + " v) { " + type + " r = {" + splat + "}; return r; } ";
    for (int m = std::max(n, 2); m <= 4; ++m)
        out += type + " " + name + "(" + scalar + std::to_string(m) + " v) { " + type + " r = {" +
               Components("v.", n, ", ") + "}; return r; } ";
    return out;
}

// vtr3_Vector_TN_from_K from an array of K elements; names are matched without their scope, so the
// function also takes a scalar (every component) and vectors at least N long, as a cast would.
std::string VectorHelper(const std::string& vector, int size, const std::string& element, int count) {
    const std::string name = "vtr3_Vector_" + vector + "_from_" + std::to_string(count);
    std::string scalar;
    int ignored = 0;
    SplitVector(vector, &scalar, &ignored);
    std::string out = vector + " " + name + "(" + element + " a[" + std::to_string(count) + "]) { return " +
                      vector + "(" + Components("a", size, ", ") + "); } ";
    out += vector + " " + name + "(" + scalar + " v) { return " + vector + "(v); } ";
    for (int m = std::max(size, 2); m <= 4; ++m)
        out += vector + " " + name + "(" + scalar + std::to_string(m) + " v) { return " + vector + "(" +
               Components("v.", size, ", ") + "); } ";
    return out;
}

} // namespace

std::vector<TextEdit> RewriteArrayCasts(const std::vector<Token>& t, const std::string& hlsl) {
    // Arrays of scalars by name: `int indices[4]`; a struct's members are no variables.
    std::map<std::string, std::pair<std::string, int>> arrays;
    for (std::size_t i = 0; i + 4 < t.size(); ++i) {
        if (IsToken(t, i, "struct")) {
            while (i < t.size() && t[i].kind != Token::End && !IsToken(t, i, "{") && !IsToken(t, i, ";"))
                ++i;
            for (int depth = 0; i < t.size() && t[i].kind != Token::End; ++i) {
                depth += IsToken(t, i, "{") ? 1 : IsToken(t, i, "}") ? -1 : 0;
                if (depth == 0)
                    break;
            }
            continue;
        }
        if (IsScalarType(t[i].text) && t[i + 1].kind == Token::Identifier && IsToken(t, i + 2, "[") &&
            CountOf(t[i + 3]) && IsToken(t, i + 4, "]") && !IsToken(t, i + 5, "["))
            arrays[t[i + 1].text] = {t[i].text, CountOf(t[i + 3])};
    }
    std::vector<TextEdit> edits;
    std::set<std::pair<std::string, int>> arrayHelpers;
    std::set<std::tuple<std::string, int, std::string, int>> vectorHelpers;
    for (std::size_t i = 0; i + 3 < t.size(); ++i) {
        if (!IsToken(t, i, "(") || !InPlace(t[i], hlsl))
            continue;
        std::string scalar;
        int size = 0;
        if (IsScalarType(t[i + 1].text) && IsToken(t, i + 2, "[") && i + 5 < t.size() && CountOf(t[i + 3]) &&
            IsToken(t, i + 4, "]") && IsToken(t, i + 5, ")")) {
            // (T[N]) operand
            const std::size_t end = OperandEnd(t, i + 6);
            if (end == i + 6 || !InPlace(t[i + 5], hlsl) || !InPlace(t[end - 1], hlsl))
                continue;
            const int n = CountOf(t[i + 3]);
            edits.push_back({t[i].begin, t[i + 5].end - t[i].begin,
                             "vtr3_Array_" + t[i + 1].text + "_" + std::to_string(n) + "("});
            edits.push_back({t[end - 1].end, 0, ")"});
            arrayHelpers.insert({t[i + 1].text, n});
            i = i + 5;
        } else if (SplitVector(t[i + 1].text, &scalar, &size) && IsToken(t, i + 2, ")") &&
                   t[i + 3].kind == Token::Identifier && !IsToken(t, i + 4, "[") && !IsToken(t, i + 4, ".") &&
                   !IsToken(t, i + 4, "(")) {
            // (TN) array, the array at least N long
            const auto array = arrays.find(t[i + 3].text);
            if (array == arrays.end() || array->second.second < size || !InPlace(t[i + 2], hlsl))
                continue;
            const int count = array->second.second;
            edits.push_back({t[i].begin, t[i + 2].end - t[i].begin,
                             "vtr3_Vector_" + t[i + 1].text + "_from_" + std::to_string(count) + "("});
            edits.push_back({t[i + 3].end, 0, ")"});
            vectorHelpers.insert({t[i + 1].text, size, array->second.first, count});
            i = i + 2;
        }
    }
    std::string helpers;
    for (const auto& [scalarType, n] : arrayHelpers)
        helpers += ArrayHelpers(scalarType, n);
    for (const auto& [vector, size, element, count] : vectorHelpers)
        helpers += VectorHelper(vector, size, element, count);
    if (!helpers.empty() && !t.empty() && InPlace(t[0], hlsl))
        edits.push_back({t[0].begin, 0, helpers});
    return edits;
}

} // namespace platform::fx
