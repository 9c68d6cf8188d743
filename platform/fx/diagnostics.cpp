#include "fx/diagnostics.h"

#include <algorithm>
#include <cstdio>

namespace platform::fx {

void Diagnostics::Error(std::string file, int line, int column, int errorCode, std::string message,
                        long long order) {
    list_.push_back(Diagnostic{std::move(file), line, column, false, errorCode, std::move(message), order});
    ++errors_;
}

void Diagnostics::Warning(std::string file, int line, int column, int warningCode, std::string message,
                          long long order) {
    list_.push_back(Diagnostic{std::move(file), line, column, true, warningCode, std::move(message), order});
}

void Diagnostics::Append(const Diagnostics& other) {
    for (const Diagnostic& d : other.list_) {
        list_.push_back(d);
        errors_ += d.warning ? 0 : 1;
    }
}

std::string FormatDiagnostic(const Diagnostic& d) {
    char head[64];
    std::snprintf(head, sizeof(head), "(%d,%d): %s X%04d: ", d.line, d.column,
                  d.warning ? "warning" : "error", d.code);
    return d.file + head + d.message;
}

std::string Diagnostics::Text() const {
    // Effect-syntax errors and each shader's errors arise apart; the author reads them in file order.
    std::vector<const Diagnostic*> sorted;
    for (const Diagnostic& d : list_)
        sorted.push_back(&d);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Diagnostic* a, const Diagnostic* b) { return a->order < b->order; });
    std::string text;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Diagnostic* p : sorted) {
            const Diagnostic& d = *p;
            if (d.warning == (pass == 1))
                text += FormatDiagnostic(d) + "\n";
        }
    }
    return text;
}

} // namespace platform::fx
