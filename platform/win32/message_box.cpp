// MessageBoxA without a screen: a headless process has nobody to press a button, so the box is
// written to standard error and answered with IDOK at once.
#include "platform_control.h"

#include <cstdio>
#include <mutex>
#include <string>

namespace platform {
namespace {

struct MessageLog {
    std::mutex mutex;
    std::size_t count = 0;
    std::string lastText;
};

MessageLog& TheMessageLog() {
    static MessageLog log;
    return log;
}

} // namespace

std::size_t MessageBoxCount() {
    MessageLog& log = TheMessageLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    return log.count;
}

std::string LastMessageBoxText() {
    MessageLog& log = TheMessageLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    return log.lastText;
}

} // namespace platform

extern "C" int WINAPI MessageBoxA(HWND /*hWnd*/, LPCSTR lpText, LPCSTR lpCaption, UINT /*uType*/) {
    const char* text = lpText ? lpText : "";
    // Windows shows "Error" for a null caption.
    const char* caption = lpCaption ? lpCaption : "Error";
    std::fprintf(stderr, "[MessageBox] %s\n%s\n", caption, text);
    std::fflush(stderr);

    platform::MessageLog& log = platform::TheMessageLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    ++log.count;
    log.lastText = text;
    return IDOK;
}
