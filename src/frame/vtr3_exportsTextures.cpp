// The texture family of exported functions: each converts the script's vars and engine strings and
// forwards to one method of the texture manager. A kind, format, usage or side that the script may
// not ask for is rejected with the var 1, before the manager is called.
#include "frame/vtr3_exports.h"

#include "frame/vtr3_globals.h"
#include "resources/vtr3_textures.h"

namespace {

const var kRejected = a6::VarFromInt(1);

// The script's format codes 0 to 10.
const D3DFORMAT kFormats[] = {
    D3DFMT_R8G8B8,  D3DFMT_X8R8G8B8,      D3DFMT_A8R8G8B8, D3DFMT_V8U8, D3DFMT_CxV8U8, D3DFMT_R16F,
    D3DFMT_G16R16F, D3DFMT_A16B16G16R16F, D3DFMT_Q8W8V8U8, D3DFMT_R32F, D3DFMT_D32,
};
const unsigned int kFormatCount = sizeof(kFormats) / sizeof(kFormats[0]);

} // namespace

VTR3_API var VTR3TexCreate(var id, var kind) {
    const int type = a6::VarToInt(kind);
    if (type < 0 || type > 2) {
        return kRejected;
    }
    g_textureManager.TextureCreate(a6::VarToInt(id), type);
    return 0;
}

VTR3_API var VTR3TexDelete(var id) {
    g_textureManager.TextureDelete(a6::VarToInt(id));
    return 0;
}

VTR3_API var VTR3TexInitialize(var id) {
    g_textureManager.TextureInitialize(a6::VarToInt(id));
    return 0;
}

VTR3_API var VTR3TexSetPath(var id, a6::String* path) {
    g_textureManager.SetPath(a6::VarToInt(id), a6::StringText(path));
    return 0;
}

// Compared unsigned: negative codes are rejected too.
VTR3_API var VTR3TexSetFormat(var id, var format) {
    const unsigned int code = static_cast<unsigned int>(a6::VarToInt(format));
    if (code >= kFormatCount) {
        return kRejected;
    }
    g_textureManager.SetFormat(a6::VarToInt(id), kFormats[code]);
    return 0;
}

// Sizes go on as the script gave them: the device refuses what it cannot make.
VTR3_API var VTR3TexSetSize(var id, var width, var height) {
    g_textureManager.SetSize(a6::VarToInt(id), static_cast<unsigned int>(a6::VarToInt(width)),
                             static_cast<unsigned int>(a6::VarToInt(height)));
    return 0;
}

VTR3_API var VTR3TexSetUsage(var id, var usage) {
    const int value = a6::VarToInt(usage);
    if (value != 0 && value != 1) {
        return kRejected;
    }
    g_textureManager.SetUsage(a6::VarToInt(id), value);
    return 0;
}

VTR3_API var VTR3TexSetViewID(var id, var side, var viewId) {
    const int face = a6::VarToInt(side);
    if (face < 0 || face > 5) {
        return kRejected;
    }
    g_textureManager.SetViewID(a6::VarToInt(id), static_cast<unsigned int>(face), a6::VarToInt(viewId));
    return 0;
}
