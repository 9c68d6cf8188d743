#include "log_rows.h"

namespace host {

namespace {

// A row's message cell as one line of UTF-8: tags dropped (a line break becomes ", "), white space
// collapsed; the log is written in Latin-1.
std::string RowText(const std::string& html, std::size_t begin, std::size_t end) {
    end = end < html.size() ? end : html.size(); // a row cut off at the end of a log still being written
    std::string text;
    const auto trimEnd = [&text] {
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
    };
    for (std::size_t at = begin; at < end; ++at) {
        const unsigned char c = static_cast<unsigned char>(html[at]);
        if (c == '<') {
            const std::size_t close = html.find('>', at);
            if (html.compare(at, 4, "<br>") == 0) {
                trimEnd();
                text += ", ";
            }
            at = close == std::string::npos || close > end ? end : close;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!text.empty() && text.back() != ' ') {
                text += ' ';
            }
        } else if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xc0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3f));
        }
    }
    trimEnd();
    return text;
}

} // namespace

LogRowCounts CountLogRows(const std::string& html) {
    LogRowCounts counts;
    const std::string rowStart = "<tr bgcolor=";
    for (std::size_t at = html.find(rowStart); at != std::string::npos; at = html.find(rowStart, at + 1)) {
        const std::size_t end = html.find("</tr>", at);
        const std::size_t bold = html.find("<b>", at);
        const std::size_t boldEnd = bold < end ? html.find("</b>", bold) : std::string::npos;
        const std::string kind = bold < end ? html.substr(bold + 3, boldEnd - bold - 3) : std::string();
        if (kind == "Information:") {
            ++counts.information;
        } else if (kind == "Warnung:") {
            ++counts.warnings;
        } else if (kind == "Fehler:") {
            if (++counts.errors == 1) {
                const std::size_t cell = html.find("<td", boldEnd);
                counts.firstError = RowText(html, cell < end ? cell : boldEnd, end);
            }
        } else {
            ++counts.labels;
        }
    }
    return counts;
}

} // namespace host
