// A stand-in for the plug-in in the host's tests: A6_DLLAPI and a few exports whose results show
// which arguments arrived where.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "frame/a6_engine.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

a6::InterfaceBlock* g_block = nullptr;

int Length(const a6::String* string) {
    const char* text = a6::StringText(string);
    return text ? static_cast<int>(std::strlen(text)) : -1;
}

} // namespace

FAKE_EXPORT int A6_DLLAPI(a6::InterfaceBlock* block) {
    g_block = block;
    return a6::kDllApiResult;
}

FAKE_EXPORT a6::InterfaceBlock* FakeBoundBlock() {
    return g_block;
}

FAKE_EXPORT var VTR3Add(var a, var b) {
    return a + b;
}

// The text's length as a `var`; -1 for no string.
FAKE_EXPORT var VTR3TextLength(a6::String* string) {
    return a6::VarFromInt(Length(string));
}

// The decimal digits a, len(b), c, len(d): shows that each argument arrived in its place.
FAKE_EXPORT var VTR3Digits(var a, a6::String* b, var c, a6::String* d) {
    return a6::VarFromInt(a6::VarToInt(a) * 1000 + Length(b) * 100 + a6::VarToInt(c) * 10 + Length(d));
}

// Sets the window title and, with the log switch 1, writes Vantor3.html as the plug-in does. The
// result is 0, or the number in VTR3_FAKE_INIT_RESULT.
FAKE_EXPORT var VTR3Initialize(var log, a6::String* title) {
    HWND window = g_block ? reinterpret_cast<HWND>(a6::BlockField(g_block, a6::kOffsetWindow)) : nullptr;
    if (!window) {
        return a6::VarFromInt(1);
    }
    SetWindowTextA(window, a6::StringText(title));
    if (a6::VarToInt(log) == 1) {
        if (FILE* file = std::fopen("Vantor3.html", "w")) {
            std::fputs("<html></html>\n", file);
            std::fclose(file);
        }
    }
    const char* result = std::getenv("VTR3_FAKE_INIT_RESULT");
    return a6::VarFromInt(result ? std::atoi(result) : 0);
}

FAKE_EXPORT var VTR3DeInitialize() {
    return 0;
}
