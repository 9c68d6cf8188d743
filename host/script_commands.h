// The commands of scene scripts and the plug-in's exports, each with the kinds of its arguments:
// 'w' a name, 'n' a number, 's' a string; a trailing '?' makes the last one optional.
#ifndef VTR3_HOST_SCRIPT_COMMANDS_H
#define VTR3_HOST_SCRIPT_COMMANDS_H

#include <string>

namespace host::script {

struct CommandForm {
    const char* name;
    const char* kinds;
    const char* usage; // the arguments as --help and error messages show them
};

// Null for a name that is no command; exports are looked up with FindExport.
const CommandForm* FindCommand(const std::string& name);
// The plug-in's exports: a number for each `var`, a string for each engine string.
const CommandForm* FindExport(const std::string& name);
bool IsExportName(const std::string& name);

} // namespace host::script

#endif
