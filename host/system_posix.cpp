// The stand-in engine's loader and terminal test on Linux: the dynamic loader and POSIX. The platform
// library's GetTickCount already reads the engine's clock, so the plug-in needs no redirection.
#include <dlfcn.h>
#include <unistd.h>

#include "system.h"

namespace host::system {

void* LoadLibraryFile(const std::string& file, std::string* error) {
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* text = dlerror();
        *error = text ? text : "unknown reason";
    }
    return library;
}

void* FindExport(void* library, const char* name) {
    return dlsym(library, name);
}

void UnloadLibrary(void* library) {
    dlclose(library);
}

bool ErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

} // namespace host::system
