// Compiler messages as an effect author reads them: `path(line,col): error X3000: message`, first
// error first. Collected per compile and joined into the ID3DXBuffer that creation hands out.
#ifndef VTR3_PLATFORM_FX_DIAGNOSTICS_H
#define VTR3_PLATFORM_FX_DIAGNOSTICS_H

#include "fx/effect_model.h"

#include <string>
#include <vector>

namespace platform::fx {

// The codes the Direct3D 9 HLSL compiler uses for the same faults.
namespace code {
constexpr int kSyntax = 3000;
constexpr int kUndeclared = 3004;
constexpr int kRedefinition = 3003;
constexpr int kNoOverload = 3013;
constexpr int kTypeMismatch = 3017;
constexpr int kEntryNotFound = 3501;
constexpr int kBadProfile = 3502;
constexpr int kUnknownState = 3080;
constexpr int kBadStateValue = 3081;
constexpr int kIncludeFailed = 1507;
constexpr int kPreprocessor = 1000;
constexpr int kInternal = 4000;
constexpr int kWarning = 3206;
} // namespace code

struct Diagnostic {
    std::string file; // the path as the author named it
    int line = 0;
    int column = 0;
    bool warning = false;
    int code = 0;
    std::string message;
    long long order = 0; // the place in the combined text, for listing errors in file order
};

// The order of a place in the combined text (0-based line, 1-based column).
inline long long TextOrder(int line, int column) {
    return (static_cast<long long>(line) << 24) + column;
}

class Diagnostics {
  public:
    void Error(std::string file, int line, int column, int errorCode, std::string message,
               long long order = 0);
    void Warning(std::string file, int line, int column, int warningCode, std::string message,
                 long long order = 0);
    bool HasErrors() const { return errors_ > 0; }
    const std::vector<Diagnostic>& All() const { return list_; }
    void Append(const Diagnostics& other);
    // One line per message, errors first in file order, then warnings.
    std::string Text() const;

  private:
    std::vector<Diagnostic> list_;
    int errors_ = 0;
};

std::string FormatDiagnostic(const Diagnostic& diagnostic);

} // namespace platform::fx

#endif
