#include "device/shader_bytecode/assembler_tables.h"

#include <iterator>

namespace platform::device::bytecode::assembly {
namespace {

constexpr std::uint8_t kVs = kVs1 | kVs2 | kVs3, kPs = kPs1 | kPs14 | kPs2 | kPs3, kAll = kVs | kPs;
constexpr std::uint8_t kModel2 = kVs2 | kVs3 | kPs2 | kPs3, kVsOrPs2 = kVs | kPs2 | kPs3;

constexpr OpcodeName kOpcodes[] = {
    {"nop", D3DSIO_NOP, 0, false, 0, 0, kAll},
    {"mov", D3DSIO_MOV, 0, true, 1, 1, kAll},
    {"add", D3DSIO_ADD, 0, true, 2, 2, kAll},
    {"sub", D3DSIO_SUB, 0, true, 2, 2, kAll},
    {"mad", D3DSIO_MAD, 0, true, 3, 3, kAll},
    {"mul", D3DSIO_MUL, 0, true, 2, 2, kAll},
    {"rcp", D3DSIO_RCP, 0, true, 1, 1, kVsOrPs2},
    {"rsq", D3DSIO_RSQ, 0, true, 1, 1, kVsOrPs2},
    {"dp3", D3DSIO_DP3, 0, true, 2, 2, kAll},
    {"dp4", D3DSIO_DP4, 0, true, 2, 2, kAll},
    {"min", D3DSIO_MIN, 0, true, 2, 2, kVsOrPs2},
    {"max", D3DSIO_MAX, 0, true, 2, 2, kVsOrPs2},
    {"slt", D3DSIO_SLT, 0, true, 2, 2, kVs},
    {"sge", D3DSIO_SGE, 0, true, 2, 2, kVs},
    {"exp", D3DSIO_EXP, 0, true, 1, 1, kVsOrPs2},
    {"log", D3DSIO_LOG, 0, true, 1, 1, kVsOrPs2},
    {"lit", D3DSIO_LIT, 0, true, 1, 1, kVs},
    {"dst", D3DSIO_DST, 0, true, 2, 2, kVs},
    {"lrp", D3DSIO_LRP, 0, true, 3, 3, kVs2 | kVs3 | kPs},
    {"frc", D3DSIO_FRC, 0, true, 1, 1, kVsOrPs2},
    {"m4x4", D3DSIO_M4x4, 0, true, 2, 2, kVsOrPs2},
    {"m4x3", D3DSIO_M4x3, 0, true, 2, 2, kVsOrPs2},
    {"m3x4", D3DSIO_M3x4, 0, true, 2, 2, kVsOrPs2},
    {"m3x3", D3DSIO_M3x3, 0, true, 2, 2, kVsOrPs2},
    {"m3x2", D3DSIO_M3x2, 0, true, 2, 2, kVsOrPs2},
    {"call", D3DSIO_CALL, 0, false, 1, 1, kModel2},
    {"callnz", D3DSIO_CALLNZ, 0, false, 2, 2, kModel2},
    {"loop", D3DSIO_LOOP, 0, false, 2, 2, kModel2},
    {"ret", D3DSIO_RET, 0, false, 0, 0, kModel2},
    {"endloop", D3DSIO_ENDLOOP, 0, false, 0, 0, kModel2},
    {"label", D3DSIO_LABEL, 0, false, 1, 1, kModel2},
    {"dcl", D3DSIO_DCL, 0, true, 0, 0, kVs | kPs2 | kPs3},
    {"pow", D3DSIO_POW, 0, true, 2, 2, kModel2},
    {"crs", D3DSIO_CRS, 0, true, 2, 2, kModel2},
    {"sgn", D3DSIO_SGN, 0, true, 1, 3, kVs2 | kVs3},
    {"abs", D3DSIO_ABS, 0, true, 1, 1, kModel2},
    {"nrm", D3DSIO_NRM, 0, true, 1, 1, kModel2},
    {"sincos", D3DSIO_SINCOS, 0, true, 1, 3, kModel2},
    {"rep", D3DSIO_REP, 0, false, 1, 1, kModel2},
    {"endrep", D3DSIO_ENDREP, 0, false, 0, 0, kModel2},
    {"if", D3DSIO_IF, 0, false, 1, 1, kModel2},
    {"ifc", D3DSIO_IFC, 0, false, 2, 2, kModel2},
    {"else", D3DSIO_ELSE, 0, false, 0, 0, kModel2},
    {"endif", D3DSIO_ENDIF, 0, false, 0, 0, kModel2},
    {"break", D3DSIO_BREAK, 0, false, 0, 0, kModel2},
    {"breakc", D3DSIO_BREAKC, 0, false, 2, 2, kModel2},
    {"mova", D3DSIO_MOVA, 0, true, 1, 1, kVs2 | kVs3},
    {"def", D3DSIO_DEF, 0, true, 0, 0, kAll},
    {"defi", D3DSIO_DEFI, 0, true, 0, 0, kModel2},
    {"defb", D3DSIO_DEFB, 0, true, 0, 0, kModel2},
    {"texcoord", D3DSIO_TEXCOORD, 0, true, 0, 0, kPs1},
    {"texcrd", D3DSIO_TEXCOORD, 0, true, 1, 1, kPs14},
    {"texkill", D3DSIO_TEXKILL, 0, true, 0, 0, kPs},
    {"tex", D3DSIO_TEX, 0, true, 0, 0, kPs1},
    {"texld", D3DSIO_TEX, 0, true, 1, 2, kPs14 | kPs2 | kPs3},
    {"texldp", D3DSIO_TEX, D3DSI_TEXLD_PROJECT >> 16, true, 2, 2, kPs2 | kPs3},
    {"texldb", D3DSIO_TEX, D3DSI_TEXLD_BIAS >> 16, true, 2, 2, kPs2 | kPs3},
    {"texbem", D3DSIO_TEXBEM, 0, true, 1, 1, kPs1},
    {"texbeml", D3DSIO_TEXBEML, 0, true, 1, 1, kPs1},
    {"texreg2ar", D3DSIO_TEXREG2AR, 0, true, 1, 1, kPs1},
    {"texreg2gb", D3DSIO_TEXREG2GB, 0, true, 1, 1, kPs1},
    {"texm3x2pad", D3DSIO_TEXM3x2PAD, 0, true, 1, 1, kPs1},
    {"texm3x2tex", D3DSIO_TEXM3x2TEX, 0, true, 1, 1, kPs1},
    {"texm3x3pad", D3DSIO_TEXM3x3PAD, 0, true, 1, 1, kPs1},
    {"texm3x3tex", D3DSIO_TEXM3x3TEX, 0, true, 1, 1, kPs1},
    {"texm3x3spec", D3DSIO_TEXM3x3SPEC, 0, true, 2, 2, kPs1},
    {"texm3x3vspec", D3DSIO_TEXM3x3VSPEC, 0, true, 1, 1, kPs1},
    {"expp", D3DSIO_EXPP, 0, true, 1, 1, kVs},
    {"logp", D3DSIO_LOGP, 0, true, 1, 1, kVs},
    {"cnd", D3DSIO_CND, 0, true, 3, 3, kPs1 | kPs14},
    {"texreg2rgb", D3DSIO_TEXREG2RGB, 0, true, 1, 1, kPs1},
    {"texdp3tex", D3DSIO_TEXDP3TEX, 0, true, 1, 1, kPs1},
    {"texm3x2depth", D3DSIO_TEXM3x2DEPTH, 0, true, 1, 1, kPs1},
    {"texdp3", D3DSIO_TEXDP3, 0, true, 1, 1, kPs1},
    {"texm3x3", D3DSIO_TEXM3x3, 0, true, 1, 1, kPs1},
    {"texdepth", D3DSIO_TEXDEPTH, 0, true, 0, 0, kPs14},
    {"cmp", D3DSIO_CMP, 0, true, 3, 3, kPs},
    {"bem", D3DSIO_BEM, 0, true, 2, 2, kPs14},
    {"dp2add", D3DSIO_DP2ADD, 0, true, 3, 3, kPs2 | kPs3},
    {"dsx", D3DSIO_DSX, 0, true, 1, 1, kPs2 | kPs3},
    {"dsy", D3DSIO_DSY, 0, true, 1, 1, kPs2 | kPs3},
    {"texldd", D3DSIO_TEXLDD, 0, true, 4, 4, kPs2 | kPs3},
    {"setp", D3DSIO_SETP, 0, true, 2, 2, kModel2},
    {"texldl", D3DSIO_TEXLDL, 0, true, 2, 2, kVs3 | kPs3},
    {"breakp", D3DSIO_BREAKP, 0, false, 1, 1, kModel2},
    {"phase", D3DSIO_PHASE, 0, false, 0, 0, kPs14},
};

constexpr RegisterName kRegisters[] = {
    {"r", D3DSPR_TEMP, -1, true, true},
    {"v", D3DSPR_INPUT, -1, true, true},
    {"c", D3DSPR_CONST, -1, true, true},
    {"a", D3DSPR_ADDR, -1, true, false},
    {"t", D3DSPR_TEXTURE, -1, false, true},
    {"aL", D3DSPR_LOOP, 0, true, true},
    {"b", D3DSPR_CONSTBOOL, -1, true, true},
    {"i", D3DSPR_CONSTINT, -1, true, true},
    {"p", D3DSPR_PREDICATE, -1, true, true},
    {"s", D3DSPR_SAMPLER, -1, true, true},
    {"oPos", D3DSPR_RASTOUT, D3DSRO_POSITION, true, false},
    {"oFog", D3DSPR_RASTOUT, D3DSRO_FOG, true, false},
    {"oPts", D3DSPR_RASTOUT, D3DSRO_POINT_SIZE, true, false},
    {"oD", D3DSPR_ATTROUT, -1, true, false},
    {"oT", D3DSPR_TEXCRDOUT, -1, true, false},
    {"o", D3DSPR_OUTPUT, -1, true, false},
    {"oC", D3DSPR_COLOROUT, -1, false, true},
    {"oDepth", D3DSPR_DEPTHOUT, 0, false, true},
    {"vPos", D3DSPR_MISCTYPE, D3DSMO_POSITION, false, true},
    {"vFace", D3DSPR_MISCTYPE, D3DSMO_FACE, false, true},
    {"l", D3DSPR_LABEL, -1, true, true},
};

constexpr std::string_view kUsages[] = {"position", "blendweight", "blendindices", "normal",     "psize",
                                        "texcoord", "tangent",     "binormal",     "tessfactor", "positiont",
                                        "color",    "fog",         "depth",        "sample"};

constexpr std::string_view kComparisons[] = {"", "gt", "eq", "ge", "lt", "ne", "le"};

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

std::uint8_t FamilyOf(bool pixel, std::uint32_t major, std::uint32_t minor) {
    if (!pixel)
        return major == 1 ? kVs1 : major == 2 ? kVs2 : kVs3;
    if (major == 1)
        return minor == 4 ? kPs14 : kPs1;
    return major == 2 ? kPs2 : kPs3;
}

const OpcodeName* FindOpcode(std::string_view name) {
    for (const OpcodeName& op : kOpcodes)
        if (EqualsNoCase(op.name, name))
            return &op;
    return nullptr;
}

const RegisterName* FindRegister(std::string_view prefix, bool pixel) {
    for (const RegisterName& r : kRegisters)
        if (EqualsNoCase(r.name, prefix) && (pixel ? r.pixel : r.vertex))
            return &r;
    return nullptr;
}

int FindUsage(std::string_view name) {
    for (std::size_t i = 0; i < std::size(kUsages); ++i)
        if (EqualsNoCase(kUsages[i], name))
            return static_cast<int>(i);
    return -1;
}

std::uint32_t FindSamplerType(std::string_view name) {
    return EqualsNoCase(name, "2d")       ? D3DSTT_2D
           : EqualsNoCase(name, "cube")   ? D3DSTT_CUBE
           : EqualsNoCase(name, "volume") ? D3DSTT_VOLUME
                                          : 0;
}

std::uint32_t FindComparison(std::string_view name) {
    for (std::uint32_t i = 1; i < std::size(kComparisons); ++i)
        if (EqualsNoCase(kComparisons[i], name))
            return i;
    return 0;
}

} // namespace platform::device::bytecode::assembly
