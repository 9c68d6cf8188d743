// Lists the integral constants that our SDK-shaped headers define, object-like macros and enumerators,
// as one VTR3_CONSTANT(NAME) line each, so the value printer sees every one of them without a
// hand-kept list. Usage: collect_constant_names OUTPUT HEADER...
#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Object-like macros whose value is no integral constant.
const std::set<std::string> kNotConstants = {
    "D3DX_DEFAULT_FLOAT", // a float
    "STDMETHODIMP",       // a return type
};

bool IsIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The header's text without comments and with continued lines joined.
std::string ReadCode(const std::string& path) {
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string code;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i);
            if (i == std::string::npos)
                break;
            code += '\n';
        } else if (text.compare(i, 2, "/*") == 0) {
            i = text.find("*/", i);
            if (i == std::string::npos)
                throw std::runtime_error("unterminated comment in " + path);
            ++i;
            code += ' ';
        } else if (text.compare(i, 2, "\\\n") == 0) {
            ++i;
            code += ' ';
        } else {
            code += text[i];
        }
    }
    return code;
}

std::string LeadingIdentifier(const std::string& text, std::size_t& pos) {
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && IsIdentifierChar(text[pos]))
        ++pos;
    return text.substr(start, pos - start);
}

// "#define NAME VALUE" where NAME is upper case and VALUE is neither a keyword (THIS void, CONST const)
// nor an initialiser (PURE = 0). A function-like macro has "(" right after its name and is skipped.
void CollectMacros(const std::string& code, std::vector<std::string>& names) {
    std::istringstream lines(code);
    std::string line;
    while (std::getline(lines, line)) {
        std::size_t pos = line.find_first_not_of(" \t");
        if (pos == std::string::npos || line[pos] != '#')
            continue;
        ++pos;
        if (LeadingIdentifier(line, pos) != "define")
            continue;
        const std::string name = LeadingIdentifier(line, pos);
        if (name.empty() || pos >= line.size() || (line[pos] != ' ' && line[pos] != '\t'))
            continue;
        bool upper = true;
        for (char c : name)
            upper = upper && (std::isupper(static_cast<unsigned char>(c)) ||
                              std::isdigit(static_cast<unsigned char>(c)) || c == '_');
        const std::size_t value = line.find_first_not_of(" \t", pos);
        if (!upper || value == std::string::npos || std::islower(static_cast<unsigned char>(line[value])) ||
            line[value] == '=')
            continue;
        names.push_back(name);
    }
}

void CollectEnumerators(const std::string& code, std::vector<std::string>& names) {
    for (std::size_t at = code.find("enum"); at != std::string::npos; at = code.find("enum", at + 4)) {
        const bool word = (at == 0 || !IsIdentifierChar(code[at - 1])) &&
                          (at + 4 == code.size() || !IsIdentifierChar(code[at + 4]));
        const std::size_t open = code.find_first_of("{;", at);
        if (!word || open == std::string::npos || code[open] != '{')
            continue;
        const std::size_t close = code.find('}', open);
        std::istringstream items(code.substr(open + 1, close - open - 1));
        std::string item;
        while (std::getline(items, item, ',')) {
            std::size_t pos = 0;
            const std::string name = LeadingIdentifier(item, pos);
            if (!name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])))
                names.push_back(name);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: collect_constant_names OUTPUT HEADER...\n";
        return 2;
    }
    try {
        std::vector<std::string> names;
        for (int i = 2; i < argc; ++i) {
            const std::string code = ReadCode(argv[i]);
            CollectMacros(code, names);
            CollectEnumerators(code, names);
        }
        std::set<std::string> seen;
        std::ofstream out(argv[1]);
        for (const std::string& name : names)
            if (!kNotConstants.count(name) && seen.insert(name).second)
                out << "VTR3_CONSTANT(" << name << ")\n";
        return out ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
}
