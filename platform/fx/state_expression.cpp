#include "fx/state_expression.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace platform::fx {
namespace {

// Precedence climbing over the token texts; operators of two characters arrive as two tokens.
class ExpressionParser {
  public:
    ExpressionParser(const std::vector<std::string>& tokens, const ExpressionLookup& lookup,
                     StateExpression* out)
        : t_(tokens), lookup_(lookup), out_(out) {}

    bool Run(std::string* error) {
        if (!Ternary(0) || pos_ != t_.size() || maxDepth_ > 32) {
            *error = error_.empty() ? "invalid expression" : error_;
            return false;
        }
        return true;
    }

  private:
    const std::string& Peek(std::size_t ahead = 0) const {
        static const std::string kEnd;
        return pos_ + ahead < t_.size() ? t_[pos_ + ahead] : kEnd;
    }
    void Push(StateExpression::Op::Kind kind, int change) {
        StateExpression::Op op;
        op.kind = kind;
        Push(std::move(op), change);
    }
    void Push(StateExpression::Op op, int change) {
        depth_ += change;
        maxDepth_ = std::max(maxDepth_, depth_);
        out_->ops.push_back(std::move(op));
    }
    // The binary operator at the current token, with its precedence; 0 when there is none.
    int Operator(std::string* op) const {
        static const struct {
            const char* text;
            int precedence;
        } kOps[] = {{"||", 1}, {"&&", 2}, {"==", 3}, {"!=", 3}, {"<=", 4}, {">=", 4},
                    {"<", 4},  {">", 4},  {"+", 5},  {"-", 5},  {"*", 6},  {"/", 6}};
        for (const auto& o : kOps) {
            const std::string text = o.text;
            const bool two = text.size() == 2;
            if (Peek() == text.substr(0, 1) && (!two || Peek(1) == text.substr(1))) {
                if (!two && (text == "<" || text == ">") && Peek(1) == "=")
                    continue;
                *op = text;
                return o.precedence;
            }
        }
        return 0;
    }
    bool Ternary(int level) {
        if (++level > 16 || !Binary(1, level))
            return false;
        if (Peek() != "?")
            return true;
        ++pos_;
        if (!Ternary(level) || Peek() != ":")
            return false;
        ++pos_;
        if (!Ternary(level))
            return false;
        Push(StateExpression::Op::Select, -2);
        return true;
    }
    bool Binary(int minimum, int level) {
        if (!Unary(level))
            return false;
        std::string op;
        for (int p = Operator(&op); p >= minimum; p = Operator(&op)) {
            pos_ += op.size();
            if (!Binary(p + 1, level + 1))
                return false;
            StateExpression::Op o;
            o.kind = StateExpression::Op::Binary;
            o.op = op;
            Push(o, -1);
        }
        return true;
    }
    bool Unary(int level) {
        if (level > 16)
            return false;
        const std::string& t = Peek();
        if (t == "-" || t == "!" || t == "+") {
            ++pos_;
            if (!Unary(level + 1))
                return false;
            if (t != "+")
                Push(t == "-" ? StateExpression::Op::Negate : StateExpression::Op::Not, 0);
            return true;
        }
        if (t == "(") {
            ++pos_;
            if (!Ternary(level) || Peek() != ")")
                return false;
            ++pos_;
            return true;
        }
        StateExpression::Op o;
        if (!t.empty() && ((t[0] >= '0' && t[0] <= '9') || t[0] == '.')) {
            o.number = std::strtod(t.c_str(), nullptr);
            if (t.size() > 1 && (t[1] == 'x' || t[1] == 'X'))
                o.number = static_cast<double>(std::strtoull(t.c_str(), nullptr, 16));
        } else if (t == "true" || t == "false") {
            o.number = t == "true";
        } else if (!t.empty() && (std::isalpha(static_cast<unsigned char>(t[0])) || t[0] == '_')) {
            if (!lookup_(t, &o.parameter, &o.number)) {
                error_ = "undeclared identifier '" + t + "'";
                return false;
            }
            if (o.parameter >= 0)
                o.kind = StateExpression::Op::Parameter;
        } else {
            return false;
        }
        ++pos_;
        Push(o, 1);
        return true;
    }

    const std::vector<std::string>& t_;
    const ExpressionLookup& lookup_;
    StateExpression* out_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    int maxDepth_ = 0;
    std::string error_;
};

} // namespace

bool CompileStateExpression(const std::vector<std::string>& tokens, const ExpressionLookup& lookup,
                            StateExpression* out, std::string* error) {
    *out = StateExpression{};
    return ExpressionParser(tokens, lookup, out).Run(error);
}

} // namespace platform::fx
