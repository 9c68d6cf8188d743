#include "fx/condition_eval.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace platform::fx {
namespace {

struct Token {
    enum Kind { Number, Name, Op, End } kind = End;
    std::string text;
    long long value = 0;
};

// Splits the expression, expanding object-like macros (with a depth bound against self-reference).
bool Tokenize(const std::string& text, const ConditionContext& context, int depth, std::vector<Token>* out) {
    if (depth > 16)
        return false;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (std::isspace(c)) {
            ++i;
        } else if (std::isdigit(c)) {
            char* end = nullptr;
            Token t{Token::Number, "", std::strtoll(text.c_str() + i, &end, 0)};
            i = static_cast<std::size_t>(end - text.c_str());
            while (i < text.size() && std::isalpha(static_cast<unsigned char>(text[i])))
                ++i; // suffixes: 1L, 2u
            out->push_back(t);
        } else if (std::isalpha(c) || c == '_') {
            std::size_t j = i;
            while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_'))
                ++j;
            const std::string name = text.substr(i, j - i);
            i = j;
            if (name == "defined") {
                out->push_back(Token{Token::Name, name, 0});
                continue;
            }
            // After "defined" the name is not expanded.
            std::string body;
            if (!out->empty() && out->back().text == "defined") {
                out->push_back(Token{Token::Name, name, 0});
            } else if (!out->empty() && out->back().text == "(" && out->size() >= 2 &&
                       (*out)[out->size() - 2].text == "defined") {
                out->push_back(Token{Token::Name, name, 0});
            } else if (context.expand && context.expand(name, &body)) {
                if (!Tokenize(body, context, depth + 1, out))
                    return false;
            } else {
                out->push_back(Token{Token::Number, name, 0});
            }
        } else {
            static const char* const kTwo[] = {"&&", "||", "==", "!=", "<=", ">=", "<<", ">>"};
            std::string op(1, text[i]);
            for (const char* two : kTwo) {
                if (text.compare(i, 2, two) == 0)
                    op = two;
            }
            if (std::string("+-*/%<>=!&|^~?:()").find(op[0]) == std::string::npos)
                return false;
            i += op.size();
            out->push_back(Token{Token::Op, op, 0});
        }
    }
    return true;
}

class Parser {
  public:
    Parser(const std::vector<Token>& tokens, const ConditionContext& context)
        : tokens_(tokens), context_(context) {}

    bool Parse(long long* value) {
        *value = Conditional();
        return ok_ && pos_ == tokens_.size();
    }

  private:
    const Token& Peek() const {
        static const Token kEnd;
        return pos_ < tokens_.size() ? tokens_[pos_] : kEnd;
    }
    bool Accept(const char* op) {
        if (Peek().kind == Token::Op && Peek().text == op) {
            ++pos_;
            return true;
        }
        return false;
    }

    long long Conditional() {
        const long long c = Binary(0);
        if (!Accept("?"))
            return c;
        const long long a = Conditional();
        if (!Accept(":"))
            ok_ = false;
        const long long b = Conditional();
        return c ? a : b;
    }

    static int Precedence(const std::string& op) {
        static const char* const kLevels[][4] = {
            {"||"},       {"&&"},     {"|"},          {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="},
            {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
        for (int level = 0; level < 10; ++level) {
            for (const char* candidate : kLevels[level]) {
                if (candidate && op == candidate)
                    return level;
            }
        }
        return -1;
    }

    long long Binary(int level) {
        if (level == 10)
            return Unary();
        long long left = Binary(level + 1);
        while (ok_ && Peek().kind == Token::Op && Precedence(Peek().text) == level) {
            const std::string op = tokens_[pos_++].text;
            const long long right = Binary(level + 1);
            left = Apply(op, left, right);
        }
        return left;
    }

    long long Apply(const std::string& op, long long a, long long b) {
        if (op == "||")
            return a || b;
        if (op == "&&")
            return a && b;
        if (op == "|")
            return a | b;
        if (op == "^")
            return a ^ b;
        if (op == "&")
            return a & b;
        if (op == "==")
            return a == b;
        if (op == "!=")
            return a != b;
        if (op == "<")
            return a < b;
        if (op == ">")
            return a > b;
        if (op == "<=")
            return a <= b;
        if (op == ">=")
            return a >= b;
        if (op == "<<")
            return (b < 0 || b > 62) ? 0 : a << b;
        if (op == ">>")
            return (b < 0 || b > 62) ? 0 : a >> b;
        if (op == "+")
            return static_cast<long long>(static_cast<unsigned long long>(a) +
                                          static_cast<unsigned long long>(b));
        if (op == "-")
            return static_cast<long long>(static_cast<unsigned long long>(a) -
                                          static_cast<unsigned long long>(b));
        if (op == "*")
            return static_cast<long long>(static_cast<unsigned long long>(a) *
                                          static_cast<unsigned long long>(b));
        if (b == 0 || (a == (-9223372036854775807LL - 1) && b == -1)) {
            ok_ = false;
            return 0;
        }
        return op == "/" ? a / b : a % b;
    }

    long long Unary() {
        if (++unary_ > 4096) { // a run of prefix operators is bounded like parentheses
            ok_ = false;
            return 0;
        }
        if (Accept("!"))
            return !Unary();
        if (Accept("-"))
            return static_cast<long long>(0ULL - static_cast<unsigned long long>(Unary()));
        if (Accept("+"))
            return Unary();
        if (Accept("~"))
            return ~Unary();
        if (Accept("(")) {
            if (++depth_ > 64) { // hostile nesting must not exhaust the stack
                ok_ = false;
                return 0;
            }
            const long long v = Conditional();
            --depth_;
            if (!Accept(")"))
                ok_ = false;
            return v;
        }
        const Token& t = Peek();
        if (t.kind == Token::Name && t.text == "defined") {
            ++pos_;
            const bool paren = Accept("(");
            if (Peek().kind != Token::Name) {
                ok_ = false;
                return 0;
            }
            const bool defined = context_.isDefined && context_.isDefined(tokens_[pos_++].text);
            if (paren && !Accept(")"))
                ok_ = false;
            return defined;
        }
        if (t.kind == Token::Number) {
            ++pos_;
            return t.value;
        }
        ok_ = false;
        return 0;
    }

    const std::vector<Token>& tokens_;
    const ConditionContext& context_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    int unary_ = 0;
    bool ok_ = true;
};

} // namespace

bool EvaluateCondition(const std::string& expression, const ConditionContext& context, long long* value) {
    *value = 0;
    std::vector<Token> tokens;
    if (!Tokenize(expression, context, 0, &tokens) || tokens.empty())
        return false;
    return Parser(tokens, context).Parse(value);
}

} // namespace platform::fx
