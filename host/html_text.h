// Pieces of the runner's self-contained HTML pages (the contact sheet, the profile): text escaped
// for HTML, files inlined as data URLs, and the page's frame with its style sheet.
#ifndef VTR3_HOST_HTML_TEXT_H
#define VTR3_HOST_HTML_TEXT_H

#include <string>

namespace host::html {

std::string Escape(const std::string& text);
std::string Base64(const std::string& bytes);
// "data:image/png;base64,..." for a PNG file; empty when it cannot be read.
std::string PngDataUrl(const std::string& path);
// The page up to its body's first element, and from its last one.
std::string PageBegin(const std::string& title, const std::string& style);
std::string PageEnd();
// Writes `text` to `path`; false when it could not.
bool WriteText(const std::string& path, const std::string& text);

} // namespace host::html

#endif
