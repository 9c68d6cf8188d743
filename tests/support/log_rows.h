// Reads the rows of a plug-in log back as short texts, so that tests compare whole sequences of rows:
//   "Information: <message>"                   a row without location
//   "Fehler: <message> @ <file> <function>"    a row with location (the line number is left out)
//   "Fehler: <message> # <DirectX name> @ <file> <function>"   a DirectX error row
//   "Warnung: ...", "<label>: <text>"          warnings and label rows alike
#ifndef VTR3_TESTS_SUPPORT_LOG_ROWS_H
#define VTR3_TESTS_SUPPORT_LOG_ROWS_H

#include <algorithm>
#include <string>
#include <vector>

namespace log_rows {

inline std::string Between(const std::string& text, const std::string& from, const std::string& to,
                           size_t start = 0) {
    const size_t begin = text.find(from, start);
    if (begin == std::string::npos) {
        return std::string();
    }
    const size_t end = text.find(to, begin + from.size());
    return text.substr(begin + from.size(),
                       end == std::string::npos ? std::string::npos : end - begin - from.size());
}

inline std::string Summarize(const std::string& row) {
    const std::string kind = Between(row, "<b>", "</b>");
    const std::string cell = Between(row, "size=\"2\">", "</font></td>", row.find("width=\"90%\""));
    const size_t located = cell.find("<br><font size=\"1\">");
    if (located == std::string::npos) { // the message, without a closing <br>
        const bool br = cell.size() >= 4 && cell.compare(cell.size() - 4, 4, "<br>") == 0;
        return kind + " " + cell.substr(0, cell.size() - (br ? 4 : 0));
    }
    std::string summary = kind + " " + cell.substr(0, located);
    const std::string details = cell.substr(located);
    if (details.find("DirectX String: ") != std::string::npos) {
        summary += " # " + Between(details, "DirectX String: ", "<br>");
    }
    return summary + " @ " + Between(details, "Datei: ", "<br>") + " " +
           Between(details, "Funktion: ", "<br>");
}

// How often `what` occurs in `text`, overlapping occurrences included.
inline std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// Every row of the log, in order.
inline std::vector<std::string> Rows(const std::string& log) {
    std::vector<std::string> rows;
    const std::string start = "<tr bgcolor=";
    for (size_t at = log.find(start); at != std::string::npos; at = log.find(start, at + 1)) {
        const size_t end = log.find("</tr>", at);
        rows.push_back(Summarize(log.substr(at, end - at)));
    }
    return rows;
}

// The rows after the first one that contains `marker` (all rows when no row contains it).
inline std::vector<std::string> RowsAfter(const std::string& log, const std::string& marker) {
    std::vector<std::string> rows = Rows(log);
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const std::string& row) {
        return row.find(marker) != std::string::npos;
    });
    return found == rows.end() ? rows : std::vector<std::string>(found + 1, rows.end());
}

} // namespace log_rows

#endif
