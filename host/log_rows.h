// The rows of the plug-in's log, Vantor3.html, counted by kind from the row markup: every row is a
// `<tr bgcolor=...>` whose first bold cell names its kind.
#ifndef VTR3_HOST_LOG_ROWS_H
#define VTR3_HOST_LOG_ROWS_H

#include <string>

namespace host {

struct LogRowCounts {
    int information = 0;
    int warnings = 0;
    int errors = 0; // error and DirectX error rows
    int labels = 0;
    std::string firstError; // the first error row's text as UTF-8, without markup
};

LogRowCounts CountLogRows(const std::string& html);

} // namespace host

#endif
