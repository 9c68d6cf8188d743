// Lists the integral constants that our SDK-shaped headers define, object-like macros and enumerators,
// as one VTR3_CONSTANT(NAME) line each, so the value printer sees every one of them without a
// hand-kept list. Usage: collect_constant_names OUTPUT HEADER...
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Object-like macros whose value is no integral constant.
const std::set<std::string> kNotConstants = {
    "D3DX_DEFAULT_FLOAT", // a float
    "STDMETHODIMP",       // a return type
};

std::string ReadWithoutComments(const std::string& path) {
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    text = std::regex_replace(text, std::regex(R"(/\*[\s\S]*?\*/)"), " ");
    text = std::regex_replace(text, std::regex(R"(//[^\n]*)"), "");
    return std::regex_replace(text, std::regex(R"(\\\n)"), " ");
}

void CollectMacros(const std::string& text, std::vector<std::string>& names) {
    // A name followed by white space and a value that is not a keyword (THIS void, CONST const) or
    // an initialiser (PURE = 0). Function-like macros have "(" right after the name and never match.
    static const std::regex define(R"(^[ \t]*#[ \t]*define[ \t]+([A-Z_][A-Z0-9_]*)[ \t]+([^ \t\n][^\n]*)$)",
                                   std::regex::multiline);
    for (std::sregex_iterator it(text.begin(), text.end(), define), end; it != end; ++it) {
        const std::string value = (*it)[2];
        if (std::islower(static_cast<unsigned char>(value[0])) || value[0] == '=')
            continue;
        names.push_back((*it)[1]);
    }
}

void CollectEnumerators(const std::string& text, std::vector<std::string>& names) {
    static const std::regex body(R"(\benum\b[^{;]*\{([^}]*)\})");
    static const std::regex enumerator(R"(^\s*([A-Za-z_]\w*))");
    for (std::sregex_iterator it(text.begin(), text.end(), body), end; it != end; ++it) {
        std::stringstream items((*it)[1].str());
        std::string item;
        std::smatch match;
        while (std::getline(items, item, ','))
            if (std::regex_search(item, match, enumerator))
                names.push_back(match[1]);
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
            const std::string text = ReadWithoutComments(argv[i]);
            CollectMacros(text, names);
            CollectEnumerators(text, names);
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
