#include "log_rows.h"

namespace host {

LogRowCounts CountLogRows(const std::string& html) {
    LogRowCounts counts;
    const std::string rowStart = "<tr bgcolor=";
    for (std::size_t at = html.find(rowStart); at != std::string::npos; at = html.find(rowStart, at + 1)) {
        const std::size_t end = html.find("</tr>", at);
        const std::size_t bold = html.find("<b>", at);
        const std::string kind =
            bold < end ? html.substr(bold + 3, html.find("</b>", bold) - bold - 3) : std::string();
        if (kind == "Information:") {
            ++counts.information;
        } else if (kind == "Warnung:") {
            ++counts.warnings;
        } else if (kind == "Fehler:") {
            ++counts.errors;
        } else {
            ++counts.labels;
        }
    }
    return counts;
}

} // namespace host
