#include "script_commands.h"

#include <cstring>
#include <iterator>

namespace host::script {
namespace {

const CommandForm kCommands[] = {
    {"vector", "wnnn", "NAME X Y Z"},
    {"view", "w", "NAME"},
    {"position", "wnnn", "VIEW X Y Z"},
    {"angles", "wnnn", "VIEW PAN TILT ROLL"},
    {"arc", "wn", "VIEW DEGREES"},
    {"size", "wnn", "VIEW WIDTH HEIGHT"},
    {"layer", "wn", "VIEW LAYER"},
    {"mesh", "wwnnnn", "NAME box|sphere SIZE X Y Z"},
    {"colour", "wnnn", "MESH RED GREEN BLUE"},
    {"clear", "nnn", "RED GREEN BLUE"},
    {"noclear", "", ""},
    {"render", "w", "VIEW"},
    {"during", "w", "VIEW EXPORT ARGUMENTS..."},
    {"frame", "n?", "[COUNT]"},
    {"clock", "n", "MILLISECONDS"},
    {"tick", "n", "MILLISECONDS"},
    {"reset", "", ""},
    {"screenshot", "s", "\"FILE.png\", texture ID [face N] \"FILE.png\" or steps \"DIRECTORY\""},
};

const CommandForm kExports[] = {
    {"VTR3Initialize", "ns", "LOG \"TITLE\""},
    {"VTR3DeInitialize", "", ""},
    {"VTR3ReleaseResources", "", ""},
    {"VTR3RecreateResources", "", ""},
    {"VTR3ReleaseMemory", "", ""},
    {"VTR3SwitchResolution", "", ""},
    {"VTR3RenderDrawA", "", ""},
    {"VTR3RenderDrawB", "", ""},
    {"VTR3RenderDrawC", "", ""},
    {"VTR3RenderDrawD", "", ""},
    {"VTR3RenderDrawE", "n", "OBJECT"},
    {"VTR3ViewRegister", "ns", "ID \"VIEW\""},
    {"VTR3ViewUnregister", "n", "ID"},
    {"VTR3ViewSetClipPlane", "nssn", "ID \"POINT\" \"NORMAL\" ENABLE"},
    {"VTR3ViewSetMirrorPlane", "nssn", "ID \"POINT\" \"NORMAL\" ENABLE"},
    {"VTR3ViewSetHDR", "nn", "ID VALUE"},
    {"VTR3ViewSetRTT", "nn", "ID VALUE"},
    {"VTR3ViewSetRenderToDepthTexture", "nn", "ID VALUE"},
    {"VTR3ViewSetSmoothShadows", "nn", "ID VALUE"},
    {"VTR3ViewSetPostProcessing", "nn", "ID VALUE"},
    {"VTR3ViewSetPostProcessingEffect", "nnn", "ID INDEX EFFECT"},
    {"VTR3TexCreate", "nn", "ID KIND"},
    {"VTR3TexDelete", "n", "ID"},
    {"VTR3TexInitialize", "n", "ID"},
    {"VTR3TexSetPath", "ns", "ID \"PATH\""},
    {"VTR3TexSetFormat", "nn", "ID FORMAT"},
    {"VTR3TexSetSize", "nnn", "ID WIDTH HEIGHT"},
    {"VTR3TexSetUsage", "nn", "ID USAGE"},
    {"VTR3TexSetViewID", "nnn", "ID SIDE VIEW"},
    {"VTR3EffectCreate", "n", "ID"},
    {"VTR3EffectDelete", "n", "ID"},
    {"VTR3EffectInitialize", "n", "ID"},
    {"VTR3EffectSetPath", "ns", "ID \"PATH\""},
    {"VTR3EffectSetTex", "nnn", "ID INDEX TEXTURE"},
    {"VTR3EffectSetValue", "nnn", "ID INDEX VALUE"},
    {"VTR3ObjectCreate", "nn", "ID KIND"},
    {"VTR3ObjectDelete", "n", "ID"},
    {"VTR3ObjectInitialize", "n", "ID"},
    {"VTR3ObjectSetEffect", "nn", "ID EFFECT"},
    {"VTR3ObjectSetTexture", "nnn", "ID INDEX TEXTURE"},
    {"VTR3ObjectSetSkill", "nnn", "ID INDEX VALUE"},
    {"VTR3ObjectSetFlag", "nnn", "ID FLAG VALUE"},
    {"VTR3ObjectSetPosition", "nnnn", "ID X Y Z"},
    {"VTR3ObjectSetRotation", "nnnn", "ID A B C"},
    {"VTR3ObjectSetScalation", "nnnn", "ID X Y Z"},
};
static_assert(std::size(kExports) == 45, "the plug-in has 45 VTR3 exports");

template <std::size_t N> const CommandForm* Find(const CommandForm (&table)[N], const std::string& name) {
    for (const CommandForm& form : table) {
        if (name == form.name) {
            return &form;
        }
    }
    return nullptr;
}

} // namespace

const CommandForm* FindCommand(const std::string& name) {
    return Find(kCommands, name);
}

const CommandForm* FindExport(const std::string& name) {
    return Find(kExports, name);
}

bool IsExportName(const std::string& name) {
    return name.compare(0, 4, "VTR3") == 0;
}

} // namespace host::script
