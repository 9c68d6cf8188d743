// State values that are expressions of parameters, `AlphaRef = (fAlpha * 255);` or
// `ZEnable = (bDepth && !bOverlay);`, as D3DX evaluates them whenever a pass applies its states.
// The text is compiled once into postfix operations; evaluation reads parameters through a callback
// and uses a fixed stack, so applying a pass allocates nothing.
#ifndef VTR3_PLATFORM_FX_STATE_EXPRESSION_H
#define VTR3_PLATFORM_FX_STATE_EXPRESSION_H

#include <functional>
#include <string>
#include <vector>

namespace platform::fx {

struct StateExpression {
    struct Op {
        enum Kind { Number, Parameter, Negate, Not, Binary, Select } kind = Number;
        double number = 0; // Number
        int parameter = -1;
        std::string op; // Binary: + - * / < > <= >= == != && ||
    };
    std::vector<Op> ops;
};

// Identifiers resolve through `lookup`: true with a parameter index (>= 0) or a constant's value.
using ExpressionLookup = std::function<bool(const std::string& name, int* parameter, double* constant)>;

// False with a message for a malformed expression or an unknown identifier.
bool CompileStateExpression(const std::vector<std::string>& tokens, const ExpressionLookup& lookup,
                            StateExpression* out, std::string* error);

// `read(parameter)` gives a parameter's first component.
template <typename Read> double EvaluateStateExpression(const StateExpression& e, Read read) {
    constexpr std::size_t kDepth = 32; // compiling refuses deeper expressions
    double stack[kDepth];
    std::size_t n = 0;
    for (const StateExpression::Op& op : e.ops) {
        switch (op.kind) {
        case StateExpression::Op::Number:
            stack[n++] = op.number;
            break;
        case StateExpression::Op::Parameter:
            stack[n++] = read(op.parameter);
            break;
        case StateExpression::Op::Negate:
            stack[n - 1] = -stack[n - 1];
            break;
        case StateExpression::Op::Not:
            stack[n - 1] = stack[n - 1] == 0 ? 1 : 0;
            break;
        case StateExpression::Op::Select:
            n -= 2;
            stack[n - 1] = stack[n - 1] != 0 ? stack[n] : stack[n + 1];
            break;
        case StateExpression::Op::Binary: {
            const double b = stack[--n];
            double& a = stack[n - 1];
            const std::string& o = op.op;
            a = o == "+"    ? a + b
                : o == "-"  ? a - b
                : o == "*"  ? a * b
                : o == "/"  ? (b != 0 ? a / b : 0)
                : o == "<"  ? a < b
                : o == ">"  ? a > b
                : o == "<=" ? a <= b
                : o == ">=" ? a >= b
                : o == "==" ? a == b
                : o == "!=" ? a != b
                : o == "&&" ? (a != 0 && b != 0)
                            : (a != 0 || b != 0);
            break;
        }
        }
    }
    return n == 1 ? stack[0] : 0;
}

} // namespace platform::fx

#endif
