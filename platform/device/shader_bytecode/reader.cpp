#include "device/shader_bytecode/reader.h"

namespace platform::device::bytecode {
namespace {

constexpr DWORD kParameterBit = 0x80000000u;
constexpr std::uint32_t kLastRegisterType = D3DSPR_PREDICATE;

bool IsVersionToken(DWORD token) {
    const DWORD kind = token >> 16;
    return kind == 0xFFFE || kind == 0xFFFF;
}

// Parameter tokens after a 1.x opcode token, which carries no length; -1 for an unknown opcode.
int ParameterCount1x(std::uint32_t opcode, bool pixel, std::uint32_t minor) {
    switch (opcode) {
    case D3DSIO_NOP:
    case D3DSIO_PHASE:
        return 0;
    case D3DSIO_TEXKILL:
    case D3DSIO_TEXDEPTH:
        return 1;
    case D3DSIO_TEXCOORD:
    case D3DSIO_TEX:
        return pixel && minor >= 4 ? 2 : 1;
    case D3DSIO_MOV:
    case D3DSIO_RCP:
    case D3DSIO_RSQ:
    case D3DSIO_EXP:
    case D3DSIO_LOG:
    case D3DSIO_LIT:
    case D3DSIO_FRC:
    case D3DSIO_DCL:
    case D3DSIO_EXPP:
    case D3DSIO_LOGP:
    case D3DSIO_TEXBEM:
    case D3DSIO_TEXBEML:
    case D3DSIO_TEXREG2AR:
    case D3DSIO_TEXREG2GB:
    case D3DSIO_TEXM3x2PAD:
    case D3DSIO_TEXM3x2TEX:
    case D3DSIO_TEXM3x3PAD:
    case D3DSIO_TEXM3x3TEX:
    case D3DSIO_TEXM3x3VSPEC:
    case D3DSIO_TEXREG2RGB:
    case D3DSIO_TEXDP3TEX:
    case D3DSIO_TEXM3x2DEPTH:
    case D3DSIO_TEXDP3:
    case D3DSIO_TEXM3x3:
        return 2;
    case D3DSIO_ADD:
    case D3DSIO_SUB:
    case D3DSIO_MUL:
    case D3DSIO_DP3:
    case D3DSIO_DP4:
    case D3DSIO_MIN:
    case D3DSIO_MAX:
    case D3DSIO_SLT:
    case D3DSIO_SGE:
    case D3DSIO_DST:
    case D3DSIO_M4x4:
    case D3DSIO_M4x3:
    case D3DSIO_M3x4:
    case D3DSIO_M3x3:
    case D3DSIO_M3x2:
    case D3DSIO_BEM:
    case D3DSIO_TEXM3x3SPEC:
        return 3;
    case D3DSIO_MAD:
    case D3DSIO_LRP:
    case D3DSIO_CND:
    case D3DSIO_CMP:
        return 4;
    case D3DSIO_DEF:
        return 5;
    default:
        return -1;
    }
}

bool HasNoDestination(std::uint32_t opcode) {
    switch (opcode) {
    case D3DSIO_NOP:
    case D3DSIO_PHASE:
    case D3DSIO_CALL:
    case D3DSIO_CALLNZ:
    case D3DSIO_LOOP:
    case D3DSIO_RET:
    case D3DSIO_ENDLOOP:
    case D3DSIO_LABEL:
    case D3DSIO_REP:
    case D3DSIO_ENDREP:
    case D3DSIO_IF:
    case D3DSIO_IFC:
    case D3DSIO_ELSE:
    case D3DSIO_ENDIF:
    case D3DSIO_BREAK:
    case D3DSIO_BREAKC:
    case D3DSIO_BREAKP:
        return true;
    default:
        return false;
    }
}

class Cursor {
  public:
    Cursor(const DWORD* tokens, std::size_t at, std::size_t end) : tokens_(tokens), at_(at), end_(end) {}
    bool Next(DWORD* token) {
        if (at_ >= end_)
            return false;
        *token = tokens_[at_++];
        return true;
    }
    bool Done() const { return at_ == end_; }

  private:
    const DWORD* tokens_;
    std::size_t at_;
    std::size_t end_;
};

bool ReadRegister(DWORD token, Parameter* p) {
    if (!(token & kParameterBit))
        return false;
    p->type = RegisterType(token);
    p->number = token & D3DSP_REGNUM_MASK;
    p->relative = (token & D3DSHADER_ADDRMODE_RELATIVE) != 0;
    return p->type <= kLastRegisterType;
}

// The relative address after a parameter: its own token from 2.0, a0.x implied in 1.x.
bool ReadAddress(Cursor* cursor, const Program& program, Parameter* p) {
    if (!p->relative || program.major < 2)
        return true;
    DWORD token = 0;
    if (!cursor->Next(&token) || !(token & kParameterBit))
        return false;
    p->address.type = RegisterType(token);
    p->address.number = token & D3DSP_REGNUM_MASK;
    p->address.component = (token >> D3DVS_SWIZZLE_SHIFT) & 3;
    return p->address.type == D3DSPR_ADDR || p->address.type == D3DSPR_LOOP;
}

bool ReadDestination(Cursor* cursor, const Program& program, Parameter* p) {
    DWORD token = 0;
    if (!cursor->Next(&token) || !ReadRegister(token, p))
        return false;
    p->writeMask = (token & D3DSP_WRITEMASK_ALL) >> 16;
    p->modifiers = token & D3DSP_DSTMOD_MASK;
    p->shift = (token & D3DSP_DSTSHIFT_MASK) >> D3DSP_DSTSHIFT_SHIFT;
    return ReadAddress(cursor, program, p);
}

bool ReadSource(Cursor* cursor, const Program& program, Parameter* p) {
    DWORD token = 0;
    if (!cursor->Next(&token) || !ReadRegister(token, p))
        return false;
    for (int i = 0; i < 4; ++i)
        p->swizzle[i] = static_cast<std::uint8_t>((token >> (D3DVS_SWIZZLE_SHIFT + 2 * i)) & 3);
    p->sourceModifier = token & D3DSP_SRCMOD_MASK;
    return p->sourceModifier <= D3DSPSM_NOT && ReadAddress(cursor, program, p);
}

bool ReadInstruction(Cursor* cursor, const Program& program, DWORD opcodeToken, Instruction* in) {
    in->opcode = opcodeToken & D3DSI_OPCODE_MASK;
    in->control = (opcodeToken & D3DSP_OPCODESPECIFICCONTROL_MASK) >> D3DSP_OPCODESPECIFICCONTROL_SHIFT;
    in->predicated = (opcodeToken & D3DSHADER_INSTRUCTION_PREDICATED) != 0;
    in->coissue = (opcodeToken & D3DSI_COISSUE) != 0;
    DWORD token = 0;
    int raw = 0;
    switch (in->opcode) {
    case D3DSIO_DCL:
        if (!cursor->Next(&token) || !(token & kParameterBit))
            return false;
        in->usage = (token & D3DSP_DCL_USAGE_MASK) >> D3DSP_DCL_USAGE_SHIFT;
        in->usageIndex = (token & D3DSP_DCL_USAGEINDEX_MASK) >> D3DSP_DCL_USAGEINDEX_SHIFT;
        in->textureType = token & D3DSP_TEXTURETYPE_MASK;
        break;
    case D3DSIO_DEF:
    case D3DSIO_DEFI:
        raw = 4;
        break;
    case D3DSIO_DEFB:
        raw = 1;
        break;
    default:
        break;
    }
    in->hasDestination = !HasNoDestination(in->opcode);
    if (in->hasDestination && !ReadDestination(cursor, program, &in->destination))
        return false;
    for (int i = 0; i < raw; ++i)
        if (!cursor->Next(&in->values[i]))
            return false;
    if (raw)
        return cursor->Done();
    if (in->predicated && !ReadSource(cursor, program, &in->predicate))
        return false;
    while (!cursor->Done()) {
        if (in->sourceCount == 4 || !ReadSource(cursor, program, &in->sources[in->sourceCount]))
            return false;
        ++in->sourceCount;
    }
    return true;
}

// The tokens after the opcode token at `at` (comment text included), or -1 when unknown.
long long InstructionLength(const Program& program, DWORD token) {
    const std::uint32_t opcode = token & D3DSI_OPCODE_MASK;
    if (opcode == D3DSIO_COMMENT)
        return (token & D3DSI_COMMENTSIZE_MASK) >> D3DSI_COMMENTSIZE_SHIFT;
    if (token & kParameterBit)
        return -1;
    if (program.major >= 2)
        return (token & D3DSI_INSTLENGTH_MASK) >> D3DSI_INSTLENGTH_SHIFT;
    return ParameterCount1x(opcode, program.pixel, program.minor);
}

void ReadVersion(DWORD token, Program* program) {
    program->pixel = (token >> 16) == 0xFFFF;
    program->major = D3DSHADER_VERSION_MAJOR(token);
    program->minor = D3DSHADER_VERSION_MINOR(token);
}

} // namespace

HRESULT MeasureBytecode(const DWORD* function, std::size_t* tokenCount) {
    if (!function || !IsVersionToken(function[0]))
        return D3DERR_INVALIDCALL;
    Program program;
    ReadVersion(function[0], &program);
    std::size_t at = 1;
    while (at < kMaxTokens) {
        const DWORD token = function[at];
        if (token == D3DVS_END()) {
            *tokenCount = at + 1;
            return D3D_OK;
        }
        const long long length = InstructionLength(program, token);
        if (length < 0)
            return D3DERR_INVALIDCALL;
        at += 1 + static_cast<std::size_t>(length);
    }
    return D3DERR_INVALIDCALL;
}

HRESULT ReadBytecode(const DWORD* tokens, std::size_t count, Program* program) {
    if (!tokens || count < 2 || count > kMaxTokens || !IsVersionToken(tokens[0]) ||
        tokens[count - 1] != D3DVS_END())
        return D3DERR_INVALIDCALL;
    ReadVersion(tokens[0], program);
    program->tokenCount = count;
    program->instructions.clear();
    std::size_t at = 1;
    const std::size_t last = count - 1;
    while (at < last) {
        const DWORD token = tokens[at];
        const long long length = InstructionLength(*program, token);
        if (length < 0 || static_cast<std::size_t>(length) > last - at - 1)
            return D3DERR_INVALIDCALL;
        const std::size_t end = at + 1 + static_cast<std::size_t>(length);
        if ((token & D3DSI_OPCODE_MASK) != D3DSIO_COMMENT) {
            Instruction instruction;
            Cursor cursor(tokens, at + 1, end);
            if (!ReadInstruction(&cursor, *program, token, &instruction))
                return D3DERR_INVALIDCALL;
            program->instructions.push_back(instruction);
        }
        at = end;
    }
    return at == last ? D3D_OK : D3DERR_INVALIDCALL;
}

} // namespace platform::device::bytecode
