#include "fx/shaderc/glslang_messages.h"

#include "fx/diagnostics.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

namespace platform::fx {
namespace {

std::string LineOf(const std::string& source, int line) {
    std::size_t start = 0;
    for (int i = 1; i < line && start != std::string::npos; ++i) {
        start = source.find('\n', start);
        if (start != std::string::npos)
            ++start;
    }
    if (start == std::string::npos)
        return std::string();
    const std::size_t end = source.find('\n', start);
    return source.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// Rewords glslang's "'token' : text" and picks the code the HLSL compiler gives for the fault.
void Classify(const std::string& body, CompilerMessage* m, std::string* token) {
    std::string text = body;
    if (text.size() > 1 && text[0] == '\'') {
        const std::size_t close = text.find("' : ");
        if (close != std::string::npos) {
            *token = text.substr(1, close - 1);
            text = text.substr(close + 4);
        }
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    const auto has = [&](const char* what) { return text.find(what) != std::string::npos; };
    if (has("unknown variable") || has("undeclared identifier")) {
        m->code = code::kUndeclared;
        m->text = "undeclared identifier '" + *token + "'";
    } else if (has("no matching overloaded function")) {
        m->code = code::kNoOverload;
        m->text = "'" + *token + "': no matching overloaded function found";
    } else if (has("redefinition")) {
        m->code = code::kRedefinition;
        m->text = "redefinition of '" + *token + "'";
    } else if (has("cannot convert") || has("type mismatch") || has("wrong operand types")) {
        m->code = code::kTypeMismatch;
        m->text = token->empty() ? text : "'" + *token + "': " + text;
    } else if (has("Entry point not found") || has("entry point")) {
        m->code = code::kEntryNotFound;
        m->text = "entrypoint not found";
    } else if (text == "Expected") {
        // The quoted token is the one glslang expected: the place is glslang's parse-failure column.
        m->code = code::kSyntax;
        m->text = "syntax error: '" + *token + "' expected";
        token->clear();
    } else {
        m->code = m->warning ? code::kWarning : code::kSyntax;
        m->text = token->empty() ? text : "'" + *token + "': " + text;
        if (has("syntax error"))
            m->text = "syntax error: " + m->text;
    }
}

} // namespace

std::vector<CompilerMessage> ParseGlslangLog(const std::string& log, const std::string& sourceName,
                                             const std::string& source) {
    std::vector<CompilerMessage> messages;
    std::istringstream in(log);
    std::string line;
    const std::string failedPrefix = sourceName + "(";
    while (std::getline(in, line)) {
        // "name(3): error at column 29, HLSL parsing failed." places the errors of that line.
        if (line.compare(0, failedPrefix.size(), failedPrefix) == 0) {
            const int at = std::atoi(line.c_str() + failedPrefix.size());
            const std::size_t col = line.find("column ");
            if (col != std::string::npos) {
                // glslang names the token's last character; the author expects its first.
                int column = std::atoi(line.c_str() + col + 7);
                const std::string text = LineOf(source, at);
                const auto isIdent = [](char c) {
                    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                };
                while (column > 1 && static_cast<std::size_t>(column) <= text.size() &&
                       isIdent(text[static_cast<std::size_t>(column) - 1]) &&
                       isIdent(text[static_cast<std::size_t>(column) - 2]))
                    --column;
                // Only for errors whose token was not found in the line: the token's place is closer.
                for (CompilerMessage& m : messages) {
                    if (m.line == at && !m.warning && m.column == 0)
                        m.column = column;
                }
            }
            continue;
        }
        CompilerMessage m;
        std::size_t p = 0;
        if (line.compare(0, 7, "ERROR: ") == 0) {
            p = 7;
        } else if (line.compare(0, 9, "WARNING: ") == 0) {
            p = 9;
            m.warning = true;
        } else {
            continue;
        }
        const std::string prefix = sourceName + ":";
        if (line.compare(p, prefix.size(), prefix) == 0) {
            p += prefix.size();
            m.line = std::atoi(line.c_str() + p);
            p = line.find(": ", p);
            p = p == std::string::npos ? line.size() : p + 2;
        } else if (line.find("compilation errors") != std::string::npos) {
            continue;
        } else if (line.compare(p, 2, "0:") == 0 || line.compare(p, 2, "1:") == 0) {
            p = line.find(": ", p);
            p = p == std::string::npos ? line.size() : p + 2;
        }
        std::string token;
        Classify(line.substr(p), &m, &token);
        if (m.line > 0 && !token.empty()) {
            const std::size_t at = LineOf(source, m.line).find(token);
            if (at != std::string::npos)
                m.column = static_cast<int>(at) + 1;
        }
        if (m.code == code::kEntryNotFound)
            m.warning = false; // glslang only warns, but there is nothing to compile
        messages.push_back(m);
    }
    for (CompilerMessage& m : messages) {
        if (m.column == 0)
            m.column = 1;
    }
    return messages;
}

} // namespace platform::fx
