#include "device/shader_bytecode/assembler.h"

#include "device/shader_bytecode/assembler_lexer.h"
#include "device/shader_bytecode/assembler_tables.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string_view>

namespace platform::device::bytecode {
namespace {

using namespace assembly;

constexpr DWORD kParameterBit = 0x80000000u;
constexpr std::uint32_t kMaxRegisterNumber = D3DSP_REGNUM_MASK;
constexpr DWORD kRegisterPart = kParameterBit | D3DSP_REGTYPE_MASK | D3DSP_REGTYPE_MASK2 | D3DSP_REGNUM_MASK |
                                D3DSHADER_ADDRMODE_RELATIVE;

struct Version {
    std::string_view name;
    DWORD token;
};
constexpr Version kVersions[] = {
    {"vs_1_1", D3DVS_VERSION(1, 1)}, {"vs_2_0", D3DVS_VERSION(2, 0)}, {"vs_2_x", D3DVS_VERSION(2, 1)},
    {"vs_3_0", D3DVS_VERSION(3, 0)}, {"ps_1_1", D3DPS_VERSION(1, 1)}, {"ps_1_2", D3DPS_VERSION(1, 2)},
    {"ps_1_3", D3DPS_VERSION(1, 3)}, {"ps_1_4", D3DPS_VERSION(1, 4)}, {"ps_2_0", D3DPS_VERSION(2, 0)},
    {"ps_2_x", D3DPS_VERSION(2, 1)}, {"ps_3_0", D3DPS_VERSION(3, 0)},
};

struct SourceModifier {
    std::string_view suffix;
    DWORD plain, negated; // negated 0: no negated form
};
constexpr SourceModifier kSourceModifiers[] = {
    {"", D3DSPSM_NONE, D3DSPSM_NEG},
    {"bias", D3DSPSM_BIAS, D3DSPSM_BIASNEG},
    {"bx2", D3DSPSM_SIGN, D3DSPSM_SIGNNEG},
    {"x2", D3DSPSM_X2, D3DSPSM_X2NEG},
    {"abs", D3DSPSM_ABS, D3DSPSM_ABSNEG},
    {"dz", D3DSPSM_DZ, 0},
    {"db", D3DSPSM_DZ, 0},
    {"dw", D3DSPSM_DW, 0},
    {"da", D3DSPSM_DW, 0},
};

// ps_1_x result shifts: _x2 is 1, _d2 is 15 (-1 in four bits).
constexpr std::string_view kShifts[] = {"x2", "x4", "x8", "d8", "d4", "d2"};
constexpr DWORD kShiftValues[] = {1, 2, 3, 13, 14, 15};

// `text` before and after its first '_'.
std::string_view Head(std::string_view text) {
    return text.substr(0, text.find('_'));
}
std::string_view Tail(std::string_view text) {
    const std::size_t at = text.find('_');
    return at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
}

// The number after a usage name from `digits` on (none: 0); 16 when it is no number below 16.
DWORD UsageIndex(std::string_view s, std::size_t digits) {
    if (digits == std::string_view::npos)
        return 0;
    const std::string_view n = s.substr(digits);
    if (n.size() > 2 || n.find_first_not_of("0123456789") != std::string_view::npos)
        return 16;
    return std::min<DWORD>(16, static_cast<DWORD>(std::atoi(std::string(n).c_str())));
}

// Component letters: xyzw or rgba; -1 for anything else.
int Component(char c) {
    const std::string_view xyzw = "xyzw", rgba = "rgba";
    const std::size_t at = xyzw.find(c);
    if (at != std::string_view::npos)
        return static_cast<int>(at);
    const std::size_t rgb = rgba.find(c);
    return rgb == std::string_view::npos ? -1 : static_cast<int>(rgb);
}

DWORD RegisterBits(std::uint32_t type, std::uint32_t number) {
    return kParameterBit | ((type << D3DSP_REGTYPE_SHIFT) & D3DSP_REGTYPE_MASK) |
           ((type << D3DSP_REGTYPE_SHIFT2) & D3DSP_REGTYPE_MASK2) | number;
}

struct Register {
    DWORD bits = 0;          // parameter bit, type, number and relative-address bit
    bool hasAddress = false; // an address token follows (2.0 and later)
    DWORD address = 0;
};

class Assembler {
  public:
    Assembler(const char* text, std::size_t length, std::vector<DWORD>* tokens, AssemblyError* error)
        : lexer_(text, length), out_(tokens), error_(error) {}

    bool Run() {
        if (!ReadVersion())
            return false;
        for (Token t = lexer_.Next(); t.kind != Token::kEnd; t = lexer_.Next())
            if (!ReadInstruction(t))
                return false;
        out_->push_back(D3DVS_END());
        return true;
    }

  private:
    bool Fail(const Token& at, int code, std::string message) {
        *error_ = AssemblyError{at.line, at.column, code, std::move(message)};
        return false;
    }
    bool Unexpected(const Token& t) {
        return t.kind == Token::kEnd
                   ? Fail(t, assembly_error::kSyntax, "syntax error : unexpected end of file")
                   : Fail(t, assembly_error::kSyntax,
                          "syntax error : unexpected token '" + std::string(t.text) + "'");
    }
    bool Expect(char c) {
        const Token t = lexer_.Next();
        return t.Is(c) || Unexpected(t);
    }

    bool ReadVersion() {
        const Token t = lexer_.Next();
        if (t.kind != Token::kWord)
            return Unexpected(t);
        for (const Version& v : kVersions)
            if (EqualsNoCase(v.name, t.text)) {
                version_ = v.name;
                pixel_ = (v.token >> 16) == 0xFFFF;
                major_ = D3DSHADER_VERSION_MAJOR(v.token);
                family_ = FamilyOf(pixel_, major_, D3DSHADER_VERSION_MINOR(v.token));
                out_->push_back(v.token);
                return true;
            }
        return Fail(t, assembly_error::kBadVersion, "unknown shader version '" + std::string(t.text) + "'");
    }

    // The predicate of "(p0.x)" or "(!p0)" before an instruction.
    bool ReadPredicate(DWORD* token) {
        Token t = lexer_.Next();
        const bool negated = t.Is('!');
        if (negated)
            t = lexer_.Next();
        DWORD modifier = D3DSPSM_NONE;
        Register reg;
        if (!ReadSource(t, &modifier, &reg))
            return false;
        *token = reg.bits;
        if ((*token & kRegisterPart) != RegisterBits(D3DSPR_PREDICATE, 0) || modifier != D3DSPSM_NONE)
            return Fail(t, assembly_error::kBadRegister, "invalid predicate '" + std::string(t.text) + "'");
        *token |= negated ? D3DSPSM_NOT : D3DSPSM_NONE;
        return Expect(')');
    }

    bool ReadInstruction(Token t) {
        DWORD flags = 0;
        if (t.Is('+')) {
            if (!(family_ & (kPs1 | kPs14)))
                return Unexpected(t);
            flags |= D3DSI_COISSUE;
            t = lexer_.Next();
        }
        DWORD predicate = 0;
        if (t.Is('(')) {
            if (!(family_ & (kVs2 | kVs3 | kPs2 | kPs3)))
                return Unexpected(t);
            if (!ReadPredicate(&predicate))
                return false;
            flags |= D3DSHADER_INSTRUCTION_PREDICATED;
            t = lexer_.Next();
        }
        if (t.kind != Token::kWord)
            return Unexpected(t);
        const OpcodeName* op = FindOpcode(Head(t.text));
        if (!op)
            return Fail(t, assembly_error::kUnknownInstruction,
                        "unknown instruction '" + std::string(t.text) + "'");
        if (!(op->families & family_))
            return Fail(t, assembly_error::kNotInVersion,
                        "'" + std::string(op->name) + "' is not supported in " + std::string(version_));
        DWORD control = op->control, destinationBits = 0, declaration = kParameterBit;
        if (!ReadSuffixes(t, *op, &control, &destinationBits, &declaration))
            return false;
        const std::size_t start = out_->size();
        out_->push_back(0);
        if (op->opcode == D3DSIO_DCL)
            out_->push_back(declaration);
        if (op->destination && !ReadDestination(destinationBits))
            return false;
        if (flags & D3DSHADER_INSTRUCTION_PREDICATED)
            out_->push_back(predicate);
        if (!ReadValues(op->opcode) || !ReadSources(*op))
            return false;
        const DWORD length = static_cast<DWORD>(out_->size() - start - 1);
        (*out_)[start] = op->opcode | control << D3DSP_OPCODESPECIFICCONTROL_SHIFT | flags |
                         (major_ >= 2 ? length << D3DSI_INSTLENGTH_SHIFT : 0);
        return true;
    }

    // "_sat", "_pp", "_centroid", ps_1_x shifts, comparisons, and dcl's usage or sampler type.
    bool ReadSuffixes(const Token& t, const OpcodeName& op, DWORD* control, DWORD* destination,
                      DWORD* declaration) {
        const bool compares =
            op.opcode == D3DSIO_IFC || op.opcode == D3DSIO_BREAKC || op.opcode == D3DSIO_SETP;
        for (std::string_view rest = Tail(t.text); !rest.empty();) {
            const std::string_view s = Head(rest);
            rest = Tail(rest);
            std::size_t digits = s.find_first_of("0123456789");
            const int usage = FindUsage(s.substr(0, digits));
            if (EqualsNoCase(s, "sat")) {
                *destination |= D3DSPDM_SATURATE;
            } else if (EqualsNoCase(s, "pp")) {
                *destination |= D3DSPDM_PARTIALPRECISION;
            } else if (EqualsNoCase(s, "centroid")) {
                *destination |= D3DSPDM_MSAMPCENTROID;
            } else if (compares && *control == 0 && FindComparison(s)) {
                *control = FindComparison(s);
            } else if (op.opcode == D3DSIO_DCL && FindSamplerType(s)) {
                *declaration |= FindSamplerType(s);
            } else if (op.opcode == D3DSIO_DCL && usage >= 0 && UsageIndex(s, digits) < 16) {
                *declaration |= static_cast<DWORD>(usage) << D3DSP_DCL_USAGE_SHIFT |
                                UsageIndex(s, digits) << D3DSP_DCL_USAGEINDEX_SHIFT;
            } else if (!ReadShift(s, destination)) {
                return Fail(t, assembly_error::kSyntax, "unknown modifier '_" + std::string(s) + "'");
            }
        }
        if (compares && *control == 0)
            return Fail(t, assembly_error::kSyntax, "'" + std::string(op.name) + "' needs a comparison");
        return true;
    }

    bool ReadShift(std::string_view s, DWORD* destination) const {
        if (!(family_ & (kPs1 | kPs14)))
            return false;
        for (std::size_t i = 0; i < std::size(kShifts); ++i)
            if (EqualsNoCase(s, kShifts[i])) {
                *destination |= kShiftValues[i] << D3DSP_DSTSHIFT_SHIFT;
                return true;
            }
        return false;
    }

    // A register word ("r0", "oPos", "c" before "[a0.x + 4]") and its relative address; the word's
    // suffix after '_' is left in `suffix`.
    bool ReadRegister(const Token& t, std::string_view* suffix, Register* reg) {
        if (t.kind != Token::kWord)
            return Unexpected(t);
        const std::string_view name = Head(t.text);
        *suffix = Tail(t.text);
        const std::size_t digits = std::min(name.find_first_of("0123456789"), name.size());
        const RegisterName* found = FindRegister(name.substr(0, digits), pixel_);
        const std::string_view number = name.substr(digits);
        const bool numeric = number.find_first_not_of("0123456789") == std::string_view::npos;
        const std::string bad = "invalid register '" + std::string(t.text) + "'";
        if (!found || !numeric || number.size() > 4 || (found->fixedNumber >= 0 && !number.empty()))
            return Fail(t, assembly_error::kBadRegister, bad);
        std::uint32_t n = found->fixedNumber >= 0 ? static_cast<std::uint32_t>(found->fixedNumber) : 0;
        for (char c : number)
            n = n * 10 + static_cast<std::uint32_t>(c - '0');
        const bool relative = lexer_.Peek().Is('[');
        if (number.empty() && found->fixedNumber < 0 && !relative)
            return Fail(t, assembly_error::kBadRegister, bad);
        if (relative && !ReadAddress(&n, reg))
            return false;
        if (n > kMaxRegisterNumber)
            return Fail(t, assembly_error::kBadRegister, bad);
        reg->bits = RegisterBits(found->type, n) | (relative ? D3DSHADER_ADDRMODE_RELATIVE : 0);
        return true;
    }

    // "[a0.x + 4]", "[4 + a0.x]" or "[aL]": the offset added to `number` and the address register.
    bool ReadAddress(std::uint32_t* number, Register* reg) {
        lexer_.Next();
        bool addressed = false;
        for (;;) {
            const Token t = lexer_.Next();
            if (t.kind == Token::kNumber && t.text.size() <= 4 &&
                t.text.find_first_not_of("0123456789") == std::string_view::npos) {
                *number += static_cast<std::uint32_t>(std::atoi(std::string(t.text).c_str()));
            } else if (t.kind == Token::kWord && !addressed) {
                const bool a0 = !pixel_ && EqualsNoCase(t.text, "a0");
                if (!a0 && !(EqualsNoCase(t.text, "aL") && major_ >= 2))
                    return Fail(t, assembly_error::kBadRegister,
                                "invalid address register '" + std::string(t.text) + "'");
                int component = 0;
                if (a0 && lexer_.Peek().Is('.')) {
                    lexer_.Next();
                    const Token c = lexer_.Next();
                    component = c.kind == Token::kWord && c.text.size() == 1 ? Component(c.text[0]) : -1;
                    if (component < 0 || (major_ < 2 && component != 0))
                        return Unexpected(c);
                }
                addressed = true;
                reg->hasAddress = major_ >= 2;
                reg->address = RegisterBits(a0 ? D3DSPR_ADDR : D3DSPR_LOOP, 0) |
                               static_cast<DWORD>(component * 0x55) << 16;
            } else {
                return Unexpected(t);
            }
            const Token next = lexer_.Next();
            if (next.Is(']'))
                return addressed || Unexpected(next);
            if (!next.Is('+'))
                return Unexpected(next);
        }
    }

    void Emit(const Register& reg, DWORD extra) {
        out_->push_back(reg.bits | extra);
        if (reg.hasAddress)
            out_->push_back(reg.address);
    }

    // The token after a '.' that follows, into `after`; false when no '.' follows.
    bool ReadDot(Token* after) {
        if (!lexer_.Peek().Is('.'))
            return false;
        lexer_.Next();
        *after = lexer_.Next();
        return true;
    }

    bool ReadDestination(DWORD modifiers) {
        const Token t = lexer_.Next();
        Register reg;
        std::string_view suffix;
        if (!ReadRegister(t, &suffix, &reg))
            return false;
        if (!suffix.empty())
            return Fail(t, assembly_error::kSyntax, "unknown modifier '_" + std::string(suffix) + "'");
        DWORD mask = D3DSP_WRITEMASK_ALL;
        Token m;
        if (ReadDot(&m)) {
            int last = -1;
            mask = 0;
            for (char c : m.kind == Token::kWord && m.text.size() <= 4 ? m.text : std::string_view()) {
                const int component = Component(c);
                if (component <= last)
                    return Unexpected(m);
                mask |= D3DSP_WRITEMASK_0 << component;
                last = component;
            }
            if (!mask)
                return Unexpected(m);
        }
        Emit(reg, mask | modifiers);
        return true;
    }

    // A source from its first token `t`: "-r0_bx2.x", "1-r0", "!b0", "c[a0.x + 2].w".
    bool ReadSource(Token t, DWORD* modifier, Register* reg) {
        bool negated = false;
        bool complement = false;
        if (t.Is('-')) {
            negated = true;
            t = lexer_.Next();
        } else if (t.kind == Token::kNumber && t.text == "1" && lexer_.Peek().Is('-')) {
            complement = true;
            lexer_.Next();
            t = lexer_.Next();
        }
        std::string_view suffix;
        if (!ReadRegister(t, &suffix, reg))
            return false;
        DWORD swizzle = D3DSP_NOSWIZZLE;
        Token s;
        if (ReadDot(&s)) {
            const std::string_view letters = s.kind == Token::kWord ? Head(s.text) : std::string_view();
            if (letters.empty() || letters.size() > 4 || (!suffix.empty() && !Tail(s.text).empty()))
                return Unexpected(s);
            if (suffix.empty())
                suffix = Tail(s.text);
            swizzle = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                const int component = Component(letters[std::min(i, letters.size() - 1)]);
                if (component < 0)
                    return Unexpected(s);
                swizzle |= static_cast<DWORD>(component) << (D3DSP_SWIZZLE_SHIFT + 2 * i);
            }
        }
        const SourceModifier* found = nullptr;
        for (const SourceModifier& m : kSourceModifiers)
            if (EqualsNoCase(m.suffix, suffix))
                found = &m;
        *modifier = !found       ? 0
                    : complement ? (suffix.empty() ? D3DSPSM_COMP : 0)
                    : negated    ? found->negated
                                 : found->plain;
        if (!found || (*modifier == 0 && (negated || complement)))
            return Fail(t, assembly_error::kSyntax,
                        "invalid source modifier on '" + std::string(t.text) + "'");
        reg->bits |= swizzle | *modifier;
        return true;
    }

    bool ReadSources(const OpcodeName& op) {
        for (int i = 0; i < op.maxSources; ++i) {
            if (i > 0 || op.destination) {
                if (i >= op.minSources && !lexer_.Peek().Is(','))
                    return true;
                if (!Expect(','))
                    return false;
            }
            const Token t = lexer_.Next();
            const bool negated = t.Is('!');
            DWORD modifier = 0;
            Register reg;
            if (!ReadSource(negated ? lexer_.Next() : t, &modifier, &reg))
                return false;
            if (negated && modifier != D3DSPSM_NONE)
                return Fail(t, assembly_error::kSyntax, "invalid source modifier '!'");
            Emit(reg, negated ? D3DSPSM_NOT : 0);
        }
        return true;
    }

    // def's four floats, defi's four integers, defb's true or false.
    bool ReadValues(std::uint32_t opcode) {
        const int count = opcode == D3DSIO_DEFB ? 1 : opcode == D3DSIO_DEF || opcode == D3DSIO_DEFI ? 4 : 0;
        for (int i = 0; i < count; ++i) {
            if (!Expect(','))
                return false;
            Token t = lexer_.Next();
            const bool negative = t.Is('-');
            if (negative)
                t = lexer_.Next();
            DWORD value = 0;
            if (opcode == D3DSIO_DEFB && t.kind == Token::kWord &&
                (EqualsNoCase(t.text, "true") || EqualsNoCase(t.text, "false")) && !negative) {
                value = EqualsNoCase(t.text, "true") ? 1 : 0;
            } else if (t.kind != Token::kNumber || opcode == D3DSIO_DEFB) {
                return Unexpected(t);
            } else if (!ParseNumber(t.text, negative, opcode == D3DSIO_DEF, &value)) {
                return Fail(t, assembly_error::kBadValue, "invalid value '" + std::string(t.text) + "'");
            }
            out_->push_back(value);
        }
        return true;
    }

    static bool ParseNumber(std::string_view text, bool negative, bool real, DWORD* value) {
        std::string s = (negative ? "-" : "") + std::string(text);
        if (real && (s.back() == 'f' || s.back() == 'F'))
            s.pop_back();
        char* end = nullptr;
        errno = 0;
        if (real) {
            const float f = std::strtof(s.c_str(), &end);
            static_assert(sizeof f == sizeof *value);
            __builtin_memcpy(value, &f, sizeof f);
        } else {
            const long i = std::strtol(s.c_str(), &end, 10);
            if (i < INT32_MIN || i > INT32_MAX)
                return false;
            *value = static_cast<DWORD>(static_cast<std::int32_t>(i));
        }
        return errno == 0 && end == s.c_str() + s.size();
    }

    Lexer lexer_;
    std::vector<DWORD>* out_;
    AssemblyError* error_;
    std::string_view version_;
    bool pixel_ = false;
    std::uint32_t major_ = 0;
    std::uint8_t family_ = 0;
};

} // namespace

bool Assemble(const char* text, std::size_t length, std::vector<DWORD>* tokens, AssemblyError* error) {
    tokens->clear();
    *error = AssemblyError{};
    if (Assembler(text, length, tokens, error).Run())
        return true;
    tokens->clear();
    return false;
}

} // namespace platform::device::bytecode
