#include "plugin.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "host_error.h"
#include "system.h"

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

} // namespace

Plugin::Plugin(const std::string& path) : path_(path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        throw Error("plug-in \"" + path + "\" does not exist");
    }
    // Never the system's library search: a bare file name is the one in the current directory.
    const std::string file = std::filesystem::path(path).has_parent_path() ? path : "./" + path;
    std::string reason;
    library_ = system::LoadLibraryFile(file, &reason);
    if (!library_) {
        throw Error("plug-in \"" + path + "\" could not be loaded: " + reason);
    }
    bind_ = Export(kBindExport);
    if (!bind_) {
        system::UnloadLibrary(library_);
        throw Error("\"" + path + "\" is no engine plug-in: it has no export " + kBindExport);
    }
}

Plugin::~Plugin() {
    system::UnloadLibrary(library_);
}

int Plugin::Bind(Engine& engine) {
    return reinterpret_cast<BindFunction>(bind_)(engine.block());
}

void* Plugin::Export(const char* name) const {
    return name ? system::FindExport(library_, name) : nullptr;
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
