// Evaluates the expression of #if / #elif: integers, defined(NAME), object-like macros and C's
// operators. Unknown identifiers are 0, as the C preprocessor has it.
#ifndef VTR3_PLATFORM_FX_CONDITION_EVAL_H
#define VTR3_PLATFORM_FX_CONDITION_EVAL_H

#include <functional>
#include <string>

namespace platform::fx {

struct ConditionContext {
    std::function<bool(const std::string&)> isDefined;
    // The body of an object-like macro, or false when the name is no macro.
    std::function<bool(const std::string&, std::string*)> expand;
};

// False when the expression is malformed.
bool EvaluateCondition(const std::string& expression, const ConditionContext& context, long long* value);

} // namespace platform::fx

#endif
