#include "html_text.h"

#include <fstream>
#include <sstream>

namespace host::html {

std::string Escape(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string Base64(const std::string& bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        unsigned int group = static_cast<unsigned char>(bytes[i]) << 16;
        group |= left > 1 ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0;
        group |= left > 2 ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        text += kDigits[(group >> 18) & 63];
        text += kDigits[(group >> 12) & 63];
        text += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        text += left > 2 ? kDigits[group & 63] : '=';
    }
    return text;
}

std::string PngDataUrl(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? "data:image/png;base64," + Base64(bytes.str()) : std::string();
}

std::string PageBegin(const std::string& title, const std::string& style) {
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escape(title) +
           "</title>\n<style>\nbody { font: 13px sans-serif; margin: 16px; background: #fafafa; color: #222; "
           "}\n" +
           style + "</style>\n</head>\n<body>\n<h1>" + Escape(title) + "</h1>\n";
}

std::string PageEnd() {
    return "</body>\n</html>\n";
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

} // namespace host::html
