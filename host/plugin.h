// A plug-in loaded from its file: bound to an engine through A6_DLLAPI, its exports called by name.
// Every export takes only `var`s and engine strings and returns a `var`, with the C calling
// convention and its plain name.
#ifndef VTR3_HOST_PLUGIN_H
#define VTR3_HOST_PLUGIN_H

#include <cstddef>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "engine.h"
#include "frame/a6_engine.h"

namespace host {

// One argument of an export.
using ExportArgument = std::variant<var, a6::String*>;

// The most arguments an export takes.
constexpr std::size_t kMaxExportArguments = 4;

class Plugin {
  public:
    // Loads the library at `path` (a path without a slash means the current directory, never the
    // system's library search). Throws host::Error when the file does not exist, does not load, or
    // has no A6_DLLAPI.
    explicit Plugin(const std::string& path);
    // Unloads the library; its library-wide objects are destroyed then, so the engine (and its
    // device) must outlive the plug-in.
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const std::string& path() const { return path_; }

    // A6_DLLAPI with the engine's interface block; the plug-in answers 630.
    int Bind(Engine& engine);

    // The export's address; null when there is no such export.
    void* Export(const char* name) const;

    // Calls the export with these arguments. Throws host::Error for an unknown export, for
    // A6_DLLAPI (use Bind) and for more than kMaxExportArguments arguments.
    var CallWith(const char* name, const std::vector<ExportArgument>& arguments);

    template <typename... Args> var Call(const char* name, Args... arguments) {
        static_assert(((std::is_same_v<Args, var> || std::is_same_v<Args, a6::String*>)&&...),
                      "exports take only vars and engine strings");
        return CallWith(name, {ExportArgument(arguments)...});
    }

  private:
    std::string path_;
    void* library_ = nullptr;
    void* bind_ = nullptr;
};

} // namespace host

#endif
