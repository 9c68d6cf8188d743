#include "d3dx/path_resolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace platform::d3dx {
namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of `directory` that equals `name` without regard to case, the first in byte order.
bool FindIgnoringCase(const std::string& directory, const std::string& name, std::string* found) {
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (!dir)
        return false;
    std::vector<std::string> matches;
    while (const dirent* entry = readdir(dir)) {
        if (EqualIgnoringCase(entry->d_name, name))
            matches.emplace_back(entry->d_name);
    }
    closedir(dir);
    if (matches.empty())
        return false;
    *found = *std::min_element(matches.begin(), matches.end());
    return true;
}

std::vector<std::string> SplitComponents(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

std::string Join(const std::string& directory, const std::string& name) {
    if (directory.empty())
        return name;
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

std::string WithSlashes(const char* path) {
    std::string converted = path;
    std::replace(converted.begin(), converted.end(), '\\', '/');
    return converted;
}

// Walks the components; false when one of them has no match.
bool ResolveComponents(const std::string& path, std::string* resolved) {
    std::string current = !path.empty() && path[0] == '/' ? "/" : "";
    for (const std::string& part : SplitComponents(path)) {
        const std::string exact = Join(current, part);
        std::string match;
        if (part == "." || part == ".." || Exists(exact))
            current = exact;
        else if (FindIgnoringCase(current, part, &match))
            current = Join(current, match);
        else
            return false;
    }
    *resolved = current;
    return true;
}

} // namespace

std::string ResolvePath(const char* path) {
    const std::string converted = WithSlashes(path);
    std::string resolved;
    if (converted.empty() || Exists(converted) || !ResolveComponents(converted, &resolved))
        return converted;
    return resolved;
}

std::string ResolvePathForWriting(const char* path) {
    const std::string converted = WithSlashes(path);
    if (converted.empty() || Exists(converted))
        return converted;
    const std::size_t slash = converted.find_last_of('/');
    if (slash == std::string::npos)
        return ResolvePath(converted.c_str());
    const std::string name = converted.substr(slash + 1);
    const std::string directory = slash == 0 ? "/" : ResolvePath(converted.substr(0, slash).c_str());
    std::string match;
    if (!name.empty() && FindIgnoringCase(directory, name, &match))
        return Join(directory, match);
    return Join(directory, name);
}

} // namespace platform::d3dx
