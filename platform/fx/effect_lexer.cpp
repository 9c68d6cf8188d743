#include "fx/effect_lexer.h"

#include <cctype>

namespace platform::fx {
namespace {

constexpr int kMaxMacroDepth = 8;

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

// Where expanded tokens stand: the whole invocation (a name, or a name with its arguments), so that
// blanking an effect-only part blanks the invocation.
struct Origin {
    std::size_t begin = 0;
    std::size_t end = 0;
    int line = 0;
    int column = 1;
};

// Every token an expansion makes (argument copies, substituted and pasted bodies) counts against one
// budget for the whole text: macros that repeat their arguments grow geometrically with depth, and
// a kilobyte of them would otherwise ask for gigabytes.
struct Budget {
    std::size_t left = kMaxExpandedTokens;
    bool exceeded = false;
    Token at; // the outermost invocation that went over
    bool Spend(std::size_t n) {
        exceeded = exceeded || n > left;
        left = exceeded ? 0 : left - n;
        return !exceeded;
    }
};

// The arguments of a function-like macro from the '(' at list[*i]: split at commas outside nested
// parentheses; *i ends on the ')'. False when the list ends first or the budget runs out.
bool Arguments(const std::vector<Token>& list, std::size_t* i, std::vector<std::vector<Token>>* args,
               Budget* budget) {
    int nesting = 0;
    args->assign(1, {});
    for (++*i; *i < list.size(); ++*i) {
        const Token& t = list[*i];
        if (t.kind == Token::Punctuation && t.text == ")" && nesting == 0)
            return true;
        if (t.kind == Token::Punctuation && (t.text == "(" || t.text == ")"))
            nesting += t.text == "(" ? 1 : -1;
        if (t.kind == Token::Punctuation && t.text == "," && nesting == 0)
            args->emplace_back();
        else if (budget->Spend(1))
            args->back().push_back(t);
        else
            return false;
    }
    return false;
}

// The body's tokens with parameters replaced by their arguments and `a ## b` pasted into one token,
// as glslang's preprocessor does in shader text.
// Empty when the budget runs out.
std::vector<Token> Substitute(const Macro& macro, const std::vector<std::vector<Token>>& args,
                              Budget* budget) {
    std::vector<Token> body;
    for (const Token& t : Scan(macro.body, false)) {
        std::size_t k = 0;
        while (k < macro.parameters.size() && macro.parameters[k] != t.text)
            ++k;
        const bool parameter = t.kind == Token::Identifier && k < macro.parameters.size() && k < args.size();
        if (!budget->Spend(parameter ? args[k].size() : 1))
            return {};
        if (parameter)
            body.insert(body.end(), args[k].begin(), args[k].end());
        else
            body.push_back(t);
    }
    std::vector<Token> pasted;
    for (std::size_t k = 0; k < body.size(); ++k) {
        const bool hashes = k + 1 < body.size() && body[k].text == "#" && body[k + 1].text == "#";
        if (hashes && !pasted.empty() && k + 2 < body.size()) {
            const std::vector<Token> joined = Scan(pasted.back().text + body[k + 2].text, false);
            if (!budget->Spend(joined.size()))
                return {};
            pasted.pop_back();
            pasted.insert(pasted.end(), joined.begin(), joined.end());
            k += 2;
        } else if (hashes) {
            ++k; // a ## at either end pastes nothing
        } else {
            pasted.push_back(body[k]);
        }
    }
    return pasted;
}

void ExpandList(const EffectSource& source, const std::vector<Token>& list, const Origin* origin,
                const std::string& self, int depth, Budget* budget, std::vector<Token>* out) {
    std::vector<std::vector<Token>> args;
    for (std::size_t i = 0; i < list.size() && !budget->exceeded; ++i) {
        Token token = list[i];
        if (origin) {
            token.begin = origin->begin;
            token.end = origin->end;
            token.line = origin->line;
            token.column = origin->column;
        }
        // Depth is bounded (and size by the budget) so that hostile macros cannot exhaust memory; a
        // macro naming itself stays a name.
        const Macro* macro = token.kind == Token::Identifier && token.text != self && depth < kMaxMacroDepth
                                 ? source.FindMacro(token.text, token.line)
                                 : nullptr;
        const bool called = macro && macro->functionLike && i + 1 < list.size() && list[i + 1].text == "(";
        if (!macro || (macro->functionLike && !called)) {
            out->push_back(token);
            continue;
        }
        Origin here = origin ? *origin : Origin{token.begin, token.end, token.line, token.column};
        if (!origin)
            budget->at = token;
        std::vector<Token> body;
        if (called) {
            std::size_t close = i + 1;
            if (!Arguments(list, &close, &args, budget) ||
                (args.size() != macro->parameters.size() &&
                 !(macro->parameters.empty() && args.size() == 1 && args[0].empty()))) {
                out->push_back(token); // an unfinished or miscounted call stays as written
                continue;
            }
            if (!origin)
                here.end = list[close].end;
            i = close;
            body = Substitute(*macro, args, budget);
        } else {
            body = Scan(macro->body, false);
            budget->Spend(body.size());
        }
        if (budget->exceeded)
            return;
        ExpandList(source, body, &here, macro->name, depth + 1, budget, out);
    }
}

} // namespace

std::vector<Token> Tokenize(const EffectSource& source, Token* overBudget) {
    const std::vector<Token> raw = Scan(source.text, true);
    std::vector<Token> tokens;
    tokens.reserve(raw.size() + 1);
    Budget budget;
    ExpandList(source, raw, nullptr, std::string(), 0, &budget, &tokens);
    if (budget.exceeded) {
        tokens = {};
        if (overBudget)
            *overBudget = budget.at;
    }
    Token end;
    end.begin = end.end = source.text.size();
    end.line = source.lines.empty() ? 0 : static_cast<int>(source.lines.size()) - 1;
    tokens.push_back(end);
    return tokens;
}

} // namespace platform::fx
