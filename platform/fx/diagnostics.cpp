#include "fx/diagnostics.h"

#include <cstdio>

namespace platform::fx {

void Diagnostics::Error(std::string file, int line, int column, int errorCode, std::string message) {
    list_.push_back(Diagnostic{std::move(file), line, column, false, errorCode, std::move(message)});
    ++errors_;
}

void Diagnostics::Warning(std::string file, int line, int column, int warningCode, std::string message) {
    list_.push_back(Diagnostic{std::move(file), line, column, true, warningCode, std::move(message)});
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
    std::string text;
    for (int pass = 0; pass < 2; ++pass) {
        for (const Diagnostic& d : list_) {
            if (d.warning == (pass == 1))
                text += FormatDiagnostic(d) + "\n";
        }
    }
    return text;
}

} // namespace platform::fx
