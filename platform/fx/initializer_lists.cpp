#include "fx/initializer_lists.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

namespace platform::fx {
namespace {

struct Member {
    std::string type;
    int elements = 0; // 0: not an array
};
using Structs = std::map<std::string, std::vector<Member>>;

} // namespace

int NumericComponents(const std::string& type) {
    if (type == "vector")
        return 4;
    if (type == "matrix")
        return 16;
    for (const char* base : {"float", "half", "double", "int", "uint", "bool", "dword"}) {
        const std::size_t n = std::strlen(base);
        if (type.compare(0, n, base) != 0)
            continue;
        const std::string rest = type.substr(n);
        const auto digit = [](char c) { return c >= '1' && c <= '4'; };
        if (rest.empty())
            return 1;
        if (rest.size() == 1 && digit(rest[0]))
            return rest[0] - '0';
        if (rest.size() == 3 && digit(rest[0]) && rest[1] == 'x' && digit(rest[2]))
            return (rest[0] - '0') * (rest[2] - '0');
        return 0;
    }
    return 0;
}

namespace {

int Components(const std::string& type) {
    return NumericComponents(type);
}

// Text to insert before and after each scalar item of a flat list of the given type.
struct Plan {
    std::vector<std::string> before;
    std::vector<std::string> after;
    bool ok = true;
};

void Layout(const Structs& structs, const std::string& type, int elements, int depth, Plan* plan);

// Wraps the items that `items` lays out in `open` ... `close`.
template <typename Items>
void Group(const std::string& open, const std::string& close, Plan* plan, Items items) {
    const std::size_t first = plan->before.size();
    items();
    if (!plan->ok || plan->before.size() == first) {
        plan->ok = false;
        return;
    }
    plan->before[first] = open + plan->before[first];
    plan->after.back() += close;
}

void Layout(const Structs& structs, const std::string& type, int elements, int depth, Plan* plan) {
    if (!plan->ok || depth > 8 || plan->before.size() > 4096) {
        plan->ok = false;
        return;
    }
    if (elements > 0) {
        Group("{", "}", plan, [&] {
            for (int e = 0; e < elements && plan->ok; ++e)
                Layout(structs, type, 0, depth + 1, plan);
        });
        return;
    }
    const int n = Components(type);
    if (n == 1) {
        plan->before.emplace_back();
        plan->after.emplace_back();
    } else if (n > 1) {
        Group(type + "(", ")", plan, [&] {
            for (int c = 0; c < n; ++c)
                Layout(structs, "float", 0, depth + 1, plan);
        });
    } else if (const auto s = structs.find(type); s != structs.end()) {
        Group("{", "}", plan, [&] {
            for (const Member& m : s->second)
                Layout(structs, m.type, m.elements, depth + 1, plan);
        });
    } else {
        plan->ok = false;
    }
}

class Nester {
  public:
    Nester(const std::vector<Token>& tokens, const std::string& hlsl) : t_(tokens), hlsl_(hlsl) {}

    // Insertions for every flat list of an array or a struct.
    std::vector<TextEdit> Run() {
        for (std::size_t i = 0; i + 1 < t_.size(); ++i) {
            if (Is(i, "struct") && t_[i + 1].kind == Token::Identifier && Is(i + 2, "{"))
                ReadStruct(i + 1);
            else if (t_[i].kind == Token::Identifier && t_[i + 1].kind == Token::Identifier)
                Declaration(i);
        }
        return insertions_;
    }

  private:
    bool Is(std::size_t i, const char* text) const {
        return i < t_.size() && t_[i].kind != Token::End && t_[i].text == text;
    }
    // `[N]` at i: N, with i moved past it; 0 when there is none, -1 when it is not a literal.
    int Elements(std::size_t* i) const {
        if (!Is(*i, "["))
            return 0;
        if (*i + 2 >= t_.size() || t_[*i + 1].kind != Token::Number || !Is(*i + 2, "]"))
            return -1;
        const long n = std::strtol(t_[*i + 1].text.c_str(), nullptr, 0);
        *i += 3;
        return n > 0 && n <= 1024 && !Is(*i, "[") ? static_cast<int>(n) : -1;
    }

    void ReadStruct(std::size_t name) {
        std::vector<Member> members;
        std::size_t i = name + 2;
        while (i + 1 < t_.size() && !Is(i, "}")) {
            Member m;
            while (i < t_.size() && t_[i].kind == Token::Identifier && t_[i + 1].kind == Token::Identifier &&
                   Components(t_[i].text) == 0 && !structs_.count(t_[i].text))
                ++i; // modifiers: centroid, linear, nointerpolation, ...
            m.type = t_[i].text;
            i += 2;
            m.elements = Elements(&i);
            while (Is(i, ":"))
                i += 2; // a semantic
            if (m.elements < 0 || (Components(m.type) == 0 && !structs_.count(m.type)) || !Is(i, ";"))
                return; // unknown types and several declarators: left to glslang
            members.push_back(m);
            ++i;
        }
        if (Is(i, "}"))
            structs_[t_[name].text] = members;
    }

    void Declaration(std::size_t typeAt) {
        const std::string& type = t_[typeAt].text;
        const bool isStruct = structs_.count(type) > 0;
        if (!isStruct && Components(type) == 0)
            return;
        std::size_t i = typeAt + 2;
        const int elements = Elements(&i);
        if (elements < 0 || (elements == 0 && !isStruct))
            return;
        while (Is(i, ":") && i + 1 < t_.size())
            i += 2; // a semantic
        if (!Is(i, "=") || !Is(i + 1, "{") || t_[i + 1].begin >= hlsl_.size() ||
            hlsl_[t_[i + 1].begin] != '{')
            return; // not a list, or blanked as effect syntax
        // The items of a flat list: split at depth-0 commas, no inner braces.
        std::vector<std::pair<std::size_t, std::size_t>> items; // first and last token
        int depth = 0;
        std::size_t first = i + 2;
        bool closed = false;
        for (std::size_t k = i + 2; k < t_.size() && t_[k].kind != Token::End; ++k) {
            if (Is(k, "{") || Is(k, ";"))
                return; // nested already, or not closed
            if (Is(k, "(") || Is(k, "["))
                ++depth;
            else if (Is(k, ")") || Is(k, "]"))
                --depth;
            const bool close = Is(k, "}");
            if (depth == 0 && (Is(k, ",") || close)) {
                if (k > first)
                    items.emplace_back(first, k - 1);
                first = k + 1;
            }
            closed = close && depth == 0;
            if (close || depth < 0)
                break;
        }
        Plan plan;
        Layout(structs_, type, elements, 0, &plan);
        if (!closed || !plan.ok || plan.before.size() != items.size() || items.size() < 2)
            return;
        // The outermost braces are the list's own.
        plan.before.front().erase(0, 1);
        plan.after.back().pop_back();
        for (std::size_t k = 0; k < items.size(); ++k) {
            if (!plan.before[k].empty())
                insertions_.push_back({t_[items[k].first].begin, 0, plan.before[k]});
            if (!plan.after[k].empty())
                insertions_.push_back({t_[items[k].second].end, 0, plan.after[k]});
        }
    }

    const std::vector<Token>& t_;
    const std::string& hlsl_;
    Structs structs_;
    std::vector<TextEdit> insertions_;
};

} // namespace

std::vector<TextEdit> NestInitializerLists(const std::vector<Token>& tokens, const std::string& hlsl) {
    return Nester(tokens, hlsl).Run();
}

} // namespace platform::fx
