#include "plugin.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "host_error.h"

namespace host {
namespace {

constexpr const char* kBindExport = "A6_DLLAPI";

typedef int (*BindFunction)(a6::InterfaceBlock* block);

// Calls `address` as `var f(T1, ..., Tn)` where each Ti is the type the argument holds: one exactly
// typed call for every pattern of vars and strings up to kMaxExportArguments.
template <typename... Bound>
var Invoke(void* address, const ExportArgument* next, const ExportArgument* end, Bound... bound) {
    if (next == end) {
        return reinterpret_cast<var (*)(Bound...)>(address)(bound...);
    }
    if constexpr (sizeof...(Bound) < kMaxExportArguments) {
        if (const var* number = std::get_if<var>(next)) {
            return Invoke(address, next + 1, end, bound..., *number);
        }
        return Invoke(address, next + 1, end, bound..., std::get<a6::String*>(*next));
    } else {
        return 0; // not reached: CallWith refuses longer lists
    }
}

std::string LastLoaderError() {
    const char* text = dlerror();
    return text ? text : "unknown reason";
}

} // namespace

Plugin::Plugin(const std::string& path) : path_(path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        throw Error("plug-in \"" + path + "\" does not exist");
    }
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    library_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library_) {
        throw Error("plug-in \"" + path + "\" could not be loaded: " + LastLoaderError());
    }
    bind_ = Export(kBindExport);
    if (!bind_) {
        dlclose(library_);
        throw Error("\"" + path + "\" is no engine plug-in: it has no export " + kBindExport);
    }
}

Plugin::~Plugin() {
    dlclose(library_);
}

int Plugin::Bind(Engine& engine) {
    return reinterpret_cast<BindFunction>(bind_)(engine.block());
}

void* Plugin::Export(const char* name) const {
    return name ? dlsym(library_, name) : nullptr;
}

var Plugin::CallWith(const char* name, const std::vector<ExportArgument>& arguments) {
    const std::string shown = name ? name : "(no name)";
    if (name && std::strcmp(name, kBindExport) == 0) {
        throw Error(std::string(kBindExport) + " is not called by name: the engine binds the plug-in");
    }
    void* address = Export(name);
    if (!address) {
        throw Error("plug-in \"" + path_ + "\" has no export \"" + shown + "\"");
    }
    if (arguments.size() > kMaxExportArguments) {
        throw Error("export \"" + shown + "\" called with " + std::to_string(arguments.size()) +
                    " arguments; exports take at most " + std::to_string(kMaxExportArguments));
    }
    return Invoke(address, arguments.data(), arguments.data() + arguments.size());
}

} // namespace host
