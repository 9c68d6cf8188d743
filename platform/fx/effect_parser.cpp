#include "fx/effect_parser.h"

#include "fx/array_casts.h"
#include "fx/asm_block.h"
#include "fx/constructor_targets.h"
#include "fx/effect_lexer.h"
#include "fx/effect_states.h"
#include "fx/initializer_lists.h"
#include "fx/state_expression.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace platform::fx {
namespace {

bool Is(const Token& t, const char* text) {
    return t.kind != Token::End && t.text == text;
}
bool IsNoCase(const Token& t, const char* text) {
    return t.kind == Token::Identifier && strcasecmp(t.text.c_str(), text) == 0;
}

bool KnownProfile(const std::string& profile, bool vertex) {
    static const char* const kVertex[] = {"vs_1_1", "vs_2_0", "vs_2_a", "vs_2_sw", "vs_3_0"};
    static const char* const kPixel[] = {"ps_1_1", "ps_1_2", "ps_1_3",  "ps_1_4", "ps_2_0",
                                         "ps_2_a", "ps_2_b", "ps_2_sw", "ps_3_0"};
    for (const char* p : vertex ? std::vector<const char*>(std::begin(kVertex), std::end(kVertex))
                                : std::vector<const char*>(std::begin(kPixel), std::end(kPixel))) {
        if (strcasecmp(profile.c_str(), p) == 0)
            return true;
    }
    return false;
}

// The numeric type of a parameter from its type name: float4x3, half2, int, bool, vector, matrix...
bool NumericType(const std::string& name, Parameter* p) {
    static const struct {
        const char* prefix;
        D3DXPARAMETER_TYPE type;
    } kBases[] = {{"float", D3DXPT_FLOAT}, {"half", D3DXPT_FLOAT}, {"double", D3DXPT_FLOAT},
                  {"int", D3DXPT_INT},     {"uint", D3DXPT_INT},   {"dword", D3DXPT_INT},
                  {"bool", D3DXPT_BOOL}};
    if (name == "vector") {
        p->type = D3DXPT_FLOAT;
        p->cls = D3DXPC_VECTOR;
        p->columns = 4;
        return true;
    }
    if (name == "matrix") {
        p->type = D3DXPT_FLOAT;
        p->cls = D3DXPC_MATRIX_COLUMNS;
        p->rows = p->columns = 4;
        return true;
    }
    for (const auto& base : kBases) {
        const std::size_t n = std::strlen(base.prefix);
        if (name.compare(0, n, base.prefix) != 0)
            continue;
        const std::string rest = name.substr(n);
        p->type = base.type;
        if (rest.empty()) {
            p->cls = D3DXPC_SCALAR;
            return true;
        }
        if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '4') {
            p->cls = D3DXPC_VECTOR;
            p->columns = static_cast<UINT>(rest[0] - '0');
            return true;
        }
        if (rest.size() == 3 && rest[1] == 'x' && rest[0] >= '1' && rest[0] <= '4' && rest[2] >= '1' &&
            rest[2] <= '4') {
            p->cls = D3DXPC_MATRIX_COLUMNS;
            p->rows = static_cast<UINT>(rest[0] - '0');
            p->columns = static_cast<UINT>(rest[2] - '0');
            return true;
        }
        return false;
    }
    return false;
}

bool ObjectType(const std::string& name, Parameter* p) {
    static const struct {
        const char* name;
        D3DXPARAMETER_TYPE type;
    } kObjects[] = {{"texture", D3DXPT_TEXTURE},         {"texture1D", D3DXPT_TEXTURE1D},
                    {"texture2D", D3DXPT_TEXTURE2D},     {"texture3D", D3DXPT_TEXTURE3D},
                    {"textureCUBE", D3DXPT_TEXTURECUBE}, {"sampler", D3DXPT_SAMPLER},
                    {"sampler1D", D3DXPT_SAMPLER1D},     {"sampler2D", D3DXPT_SAMPLER2D},
                    {"sampler3D", D3DXPT_SAMPLER3D},     {"samplerCUBE", D3DXPT_SAMPLERCUBE},
                    {"string", D3DXPT_STRING},           {"vertexshader", D3DXPT_VERTEXSHADER},
                    {"pixelshader", D3DXPT_PIXELSHADER}};
    for (const auto& object : kObjects) {
        if (strcasecmp(object.name, name.c_str()) == 0) {
            p->type = object.type;
            p->cls = D3DXPC_OBJECT;
            return true;
        }
    }
    return false;
}

bool IsTexture(D3DXPARAMETER_TYPE t) {
    return t >= D3DXPT_TEXTURE && t <= D3DXPT_TEXTURECUBE;
}

// Top-level declarations of one effect: each becomes a uniform, function or object that glslang and
// the effect hold, and past some tens of thousands glslang's SPIR-V fails inside (a struct's 16-bit
// word count); far more than any effect declares.
constexpr std::size_t kMaxDeclarations = 4096;

// A token's text for a message: bytes outside printable ASCII as \xNN.
std::string Printable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f) {
            out += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof(hex), "\\x%02x", u);
            out += hex;
        }
    }
    return out;
}

class Parser {
  public:
    Parser(const EffectSource& source, EffectModel* model, Diagnostics* diagnostics)
        : source_(source), model_(model), diagnostics_(diagnostics), tokens_(Tokenize(source, &overBudget_)) {
        model_->hlsl = source.text;
    }

    void Run() {
        if (overBudget_.kind != Token::End) {
            Error(overBudget_, code::kPreprocessor,
                  "macro expansion exceeds " + std::to_string(kMaxExpandedTokens) + " tokens");
            return;
        }
        // After an error the parser goes on at the next statement, so that one compile lists them all;
        // text that is no statement at all stops it, as it stops the HLSL compiler.
        while (!stopped_ && Peek().kind != Token::End) {
            const std::size_t before = pos_;
            TopLevel();
            if (pos_ == before)
                Next();
        }
        CheckEntries();
        model_->blanked = openTechniques_ == 0 && !unblanked_;
        std::vector<TextEdit> edits = NestInitializerLists(tokens_, model_->hlsl);
        for (TextEdit& e : RewriteConstructorTargets(tokens_, model_->hlsl))
            edits.push_back(std::move(e));
        for (TextEdit& e : RewriteArrayCasts(tokens_, model_->hlsl))
            edits.push_back(std::move(e));
        ApplyEdits(std::move(edits), &model_->hlsl);
    }

  private:
    const Token& Peek(std::size_t ahead = 0) const {
        const std::size_t i = pos_ + ahead;
        return i < tokens_.size() ? tokens_[i] : tokens_.back();
    }
    const Token& Next() {
        const Token& t = Peek();
        if (pos_ + 1 < tokens_.size())
            ++pos_;
        return t;
    }
    bool Accept(const char* text) {
        if (Is(Peek(), text)) {
            Next();
            return true;
        }
        return false;
    }
    bool Expect(const char* text) {
        if (Accept(text))
            return true;
        Error(Peek(), code::kSyntax,
              std::string("syntax error: unexpected ") +
                  (Peek().kind == Token::End ? "end of file" : "token '" + Peek().text + "'") +
                  ", expected '" + text + "'");
        return false;
    }
    void Error(const Token& at, int errorCode, const std::string& message) {
        const SourceLocation where = source_.Locate(at.line, at.column);
        diagnostics_->Error(source_.files[static_cast<std::size_t>(where.file)], where.line, where.column,
                            errorCode, message, TextOrder(at.line, at.column));
    }
    SourceLocation Where(const Token& t) const { return source_.Locate(t.line, t.column); }
    // Text that is no declaration, function, struct or technique: the first such error ends the parse.
    void Unexpected(const Token& at) {
        Error(at, code::kSyntax,
              at.kind == Token::End ? "syntax error: unexpected end of file"
                                    : "syntax error: unexpected token '" + Printable(at.text) + "'");
        stopped_ = true; // what follows has no known start
    }
    // Counts a top-level declaration; false (with the error, which ends the parse) past the limit.
    bool Declared(const Token& at) {
        if (++declarations_ <= kMaxDeclarations)
            return true;
        Error(at, code::kSyntax,
              "too many declarations: an effect holds at most " + std::to_string(kMaxDeclarations) +
                  " variables, functions, structs and techniques");
        stopped_ = true;
        return false;
    }
    bool IsTypeName(const std::string& name) const;

    // Replaces text with spaces from token `first` up to and including token `last`; line breaks stay.
    void Blank(std::size_t first, std::size_t last) {
        if (first > last || last >= tokens_.size())
            return;
        const std::size_t end = std::min(tokens_[last].end, model_->hlsl.size());
        for (std::size_t i = tokens_[first].begin; i < end; ++i) {
            if (model_->hlsl[i] != '\n' && model_->hlsl[i] != '\r')
                model_->hlsl[i] = ' ';
        }
    }

    // Skips a bracketed group starting at the current token (which must be the opener).
    void SkipGroup(const char* open, const char* close) {
        int depth = 0;
        do {
            if (Is(Peek(), open))
                ++depth;
            else if (Is(Peek(), close))
                --depth;
            Next();
        } while (depth > 0 && Peek().kind != Token::End);
    }

    // After a bad state assignment: on past its ';', not past the block's '}'.
    void Recover() {
        while (Peek().kind != Token::End && !Is(Peek(), ";") && !Is(Peek(), "}")) {
            if (Is(Peek(), "("))
                SkipGroup("(", ")");
            else
                Next();
        }
        Accept(";");
    }

    // Skips to the `end` token at this depth, counting a declaration at each `separator` there.
    void SkipCounting(const char* separator, const char* end) {
        while (!stopped_ && Peek().kind != Token::End && !Is(Peek(), end)) {
            if (Is(Peek(), "{")) {
                SkipGroup("{", "}");
            } else if (Is(Peek(), "(")) {
                SkipGroup("(", ")");
            } else {
                if (Is(Peek(), separator))
                    Declared(Peek());
                Next();
            }
        }
        Accept(";");
    }

    void SkipToSemicolon() {
        while (Peek().kind != Token::End && !Is(Peek(), ";")) {
            if (Is(Peek(), "{"))
                SkipGroup("{", "}");
            else if (Is(Peek(), "("))
                SkipGroup("(", ")");
            else
                Next();
        }
        Accept(";");
    }

    // `asm { ... }`: shader assembly, assembled and translated here so that its errors point into the
    // effect file (the block's line plus the assembler's). The text is cut at the '}' that closes it
    // in the raw text, as assembly comments may hold braces and quotes the tokens do not know.
    // Steps over `asm { ... }`; false (with the error) when it is cut off. *brace is the '{' and
    // *close the offset of the '}'.
    bool SkipAsm(Token* brace, std::size_t* close) {
        const Token asmToken = Next();
        if (!Is(Peek(), "{"))
            return Expect("{");
        *brace = Next();
        *close = AsmBlockEnd(source_.text, brace->end);
        if (*close == std::string::npos) {
            Error(asmToken, code::kSyntax, "syntax error: asm block without its closing '}'");
            stopped_ = true;
            return false;
        }
        while (Peek().kind != Token::End && Peek().begin < *close)
            Next();
        if (!Is(Peek(), "}") || Peek().begin != *close) {
            Error(asmToken, code::kSyntax, "syntax error: malformed asm block");
            return false;
        }
        Next();
        return true;
    }

    bool AsmBlock(StateValue* value, bool vertex) {
        const Token asmToken = Peek();
        Token brace;
        std::size_t close = 0;
        if (!SkipAsm(&brace, &close))
            return false;
        AsmShader shader;
        device::bytecode::AssemblyError e;
        if (!TranslateAsmBlock(source_.text.data() + brace.end, close - brace.end, &shader, &e)) {
            Token at = brace;
            at.line = brace.line + e.line - 1;
            at.column = e.line == 1 ? brace.column + e.column : e.column;
            Error(at, e.code, e.message);
            return false;
        }
        if (shader.pixel == vertex) {
            Error(asmToken, code::kBadStateValue,
                  std::string("a ") + (shader.pixel ? "pixel" : "vertex") + " shader asm block for a " +
                      (vertex ? "vertex" : "pixel") + " shader");
            return false;
        }
        value->kind = StateValue::Kind::Asm;
        value->profile = shader.profile;
        value->glsl = std::move(shader.glsl);
        return true;
    }

    void TopLevel();
    // Records a struct's members (numeric or earlier structs) so that globals of its type become
    // struct parameters; the definition itself stays for glslang.
    void StructDefinition();
    bool MemberType(const std::string& name, Parameter* p) const;
    void TechniqueBlock();
    void PassBlock(Pass* pass);
    bool StateAssignmentAt(StateAssignment* state, bool inSampler);
    bool Value(const StateInfo& info, StateValue* value);
    bool CompileStatement(StateValue* value);
    void Annotations(std::vector<Annotation>* annotations);
    void Declaration();
    void Function(const std::string& name);
    bool Declarator(Parameter base, std::size_t declarationStart, bool isStatic);
    std::vector<float> Numbers(const char* stopA, const char* stopB);
    bool IsReferenceable(const std::string& name) const;
    void CheckEntries();
    void CheckCompile(const StateValue& value, const Token& at, bool vertex);

    const EffectSource& source_;
    EffectModel* model_;
    Diagnostics* diagnostics_;
    Token overBudget_; // the macro invocation whose expansion went over the token budget, if any
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    std::uint64_t effectWords_ = 0; // of the parameters so far
    std::vector<std::pair<StateValue, Token>> compiles_;
    bool blankDeclaration_ = false;      // DWORD globals: effect-only, glslang rejects the type
    int openTechniques_ = 0;             // techniques an error left unblanked
    bool unblanked_ = false;             // a declaration an error left unblanked
    std::vector<Parameter> structs_;     // struct types by name, with their members
    std::vector<std::string> typeNames_; // every struct and typedef name, usable as a parameter or not
    std::size_t declarations_ = 0;
    bool stopped_ = false;
};

// Value words of one parameter and of all of an effect's: an effect allocates them (and its views
// copies of them) at creation, so a short declaration must not ask for gigabytes.
constexpr std::uint64_t kMaxParameterWords = std::uint64_t{1} << 20;
constexpr std::uint64_t kMaxEffectWords = std::uint64_t{1} << 22;

// As the effect counts them; 64-bit so that a hostile element count cannot wrap on 32-bit builds.
std::uint64_t Words(const Parameter& p) {
    std::uint64_t per = 0;
    if (p.cls == D3DXPC_STRUCT) {
        for (const Parameter& m : p.members)
            per += Words(m);
    } else if (p.cls != D3DXPC_OBJECT) {
        per = std::uint64_t{p.rows} * p.columns;
    }
    return per * (p.elements ? p.elements : 1);
}

// Leaves of a struct's members, elements counted, so that hostile nesting stays small.
std::size_t Leaves(const Parameter& p) {
    std::size_t n = p.members.empty() ? 1 : 0;
    for (const Parameter& m : p.members)
        n += Leaves(m);
    return n * (p.elements ? p.elements : 1);
}

// Names of types that are not parameters here but that glslang knows: struct and typedef names, void,
// the sampler and texture objects of later shader models, the minimum-precision types.
bool Parser::IsTypeName(const std::string& name) const {
    static const char* const kPrefixes[] = {"void", "texture", "sampler", "rwtexture", "buffer", "min1"};
    for (const char* prefix : kPrefixes) {
        if (strncasecmp(name.c_str(), prefix, std::strlen(prefix)) == 0)
            return true;
    }
    return std::find(typeNames_.begin(), typeNames_.end(), name) != typeNames_.end();
}

bool Parser::MemberType(const std::string& name, Parameter* p) const {
    if (NumericType(name, p))
        return true;
    for (const Parameter& s : structs_) {
        if (s.name == name) {
            *p = s;
            return true;
        }
    }
    return false;
}

void Parser::StructDefinition() {
    constexpr std::size_t kMaxLeaves = 4096;
    const std::size_t start = pos_;
    Next();
    Parameter type;
    type.name = Next().text;
    type.cls = D3DXPC_STRUCT;
    type.type = D3DXPT_VOID;
    type.rows = type.columns = 0;
    Next();
    bool usable = true;
    while (usable && Peek().kind != Token::End && !Is(Peek(), "}")) {
        static const char* const kModifiers[] = {"row_major",       "column_major",  "linear", "centroid",
                                                 "nointerpolation", "noperspective", "sample", "uniform"};
        for (const char* m : kModifiers)
            Accept(m);
        Parameter member;
        usable = Peek().kind == Token::Identifier && MemberType(Next().text, &member);
        while (usable && Peek().kind == Token::Identifier) {
            Parameter named = member;
            named.name = Next().text;
            if (Accept("[")) {
                named.elements = Peek().kind == Token::Number
                                     ? static_cast<UINT>(std::strtoul(Next().text.c_str(), nullptr, 0))
                                     : 0;
                usable = named.elements > 0 && named.elements <= kMaxLeaves && Accept("]");
            }
            while (Accept(":"))
                Next(); // semantics and packoffsets
            type.members.push_back(std::move(named));
            usable = usable && Leaves(type) <= kMaxLeaves;
            if (!Accept(","))
                break;
        }
        usable = usable && Accept(";");
    }
    if (usable && !type.members.empty())
        structs_.push_back(std::move(type));
    pos_ = start; // the caller skips the definition as before
}

void Parser::TopLevel() {
    if (Accept(";"))
        return;
    const bool other = IsNoCase(Peek(), "technique") || IsNoCase(Peek(), "technique9") ||
                       IsNoCase(Peek(), "technique10") || Is(Peek(), "struct") || Is(Peek(), "cbuffer") ||
                       Is(Peek(), "tbuffer") || Is(Peek(), "typedef");
    if (other && !Declared(Peek())) // variables and functions count in Declaration
        return;
    if (IsNoCase(Peek(), "technique") || IsNoCase(Peek(), "technique9") || IsNoCase(Peek(), "technique10")) {
        TechniqueBlock();
        return;
    }
    if (Is(Peek(), "struct") && Peek(1).kind == Token::Identifier) {
        typeNames_.push_back(Peek(1).text);
        if (Is(Peek(2), "{"))
            StructDefinition();
    }
    if (Is(Peek(), "struct") || Is(Peek(), "cbuffer") || Is(Peek(), "tbuffer")) {
        while (Peek().kind != Token::End && !Is(Peek(), "{") && !Is(Peek(), ";"))
            Next();
        if (Is(Peek(), "{")) { // each member counts
            Next();
            SkipCounting(";", "}");
            Accept("}");
        }
        SkipToSemicolon();
        return;
    }
    if (Is(Peek(), "typedef")) {
        // The new name is the last identifier before the ';'.
        std::string name;
        while (Peek().kind != Token::End && !Is(Peek(), ";")) {
            if (Is(Peek(), "{")) {
                SkipGroup("{", "}");
                continue;
            }
            if (Peek().kind == Token::Identifier)
                name = Peek().text;
            Next();
        }
        Accept(";");
        typeNames_.push_back(name);
        return;
    }
    if (Peek().kind != Token::Identifier) {
        Unexpected(Peek()); // no statement starts with it
        return;
    }
    Declaration();
}

void Parser::Annotations(std::vector<Annotation>* annotations) {
    if (!Is(Peek(), "<"))
        return;
    const std::size_t first = pos_;
    Next();
    while (Peek().kind != Token::End && !Is(Peek(), ">")) {
        Annotation a;
        Parameter type;
        const std::string typeName = Next().text;
        if (NumericType(typeName, &type)) {
            a.cls = type.cls;
            a.type = type.type;
            a.rows = type.rows;
            a.columns = type.columns;
        } else if (strcasecmp(typeName.c_str(), "string") == 0) {
            a.cls = D3DXPC_OBJECT;
            a.type = D3DXPT_STRING;
        }
        if (Peek().kind == Token::Identifier)
            a.name = Next().text;
        if (Accept("=")) {
            if (Peek().kind == Token::String) {
                const std::string s = Next().text;
                a.text = s.size() >= 2 ? s.substr(1, s.size() - 2) : std::string();
            } else {
                for (float f : Numbers(";", ">"))
                    a.values.push_back(f);
            }
        }
        if (!Accept(";")) {
            Error(Peek(), code::kSyntax,
                  "syntax error: unexpected token '" + Peek().text + "' in annotation");
            unblanked_ = true;
            return;
        }
        annotations->push_back(a);
    }
    const std::size_t last = pos_;
    Expect(">");
    Blank(first, last);
}

// Literal numbers of an initializer up to a stop token at depth 0: 1, -2.5, true, {1, 2}, float2(1, 2).
std::vector<float> Parser::Numbers(const char* stopA, const char* stopB) {
    std::vector<float> numbers;
    int depth = 0;
    bool negative = false;
    while (Peek().kind != Token::End) {
        const Token& t = Peek();
        if (depth == 0 && (Is(t, stopA) || Is(t, stopB)))
            break;
        if (Is(t, "(") || Is(t, "{"))
            ++depth;
        else if (Is(t, ")") || Is(t, "}"))
            --depth;
        if (depth < 0)
            break;
        if (t.kind == Token::Number) {
            const double v = std::strtod(t.text.c_str(), nullptr);
            const double n = (t.text.size() > 1 && (t.text[1] == 'x' || t.text[1] == 'X'))
                                 ? static_cast<double>(std::strtoull(t.text.c_str(), nullptr, 16))
                                 : v;
            numbers.push_back(static_cast<float>(negative ? -n : n));
        } else if (Is(t, "true") || Is(t, "false")) {
            numbers.push_back(Is(t, "true") ? 1.0f : 0.0f);
        }
        negative = Is(t, "-");
        Next();
    }
    return numbers;
}

void Parser::Declaration() {
    const std::size_t start = pos_;
    bool isStatic = false;
    bool shared = false;
    bool rowMajor = false;
    static const char* const kModifiers[] = {
        "static",       "uniform", "extern",  "shared",          "const",       "volatile", "row_major",
        "column_major", "inline",  "precise", "nointerpolation", "groupshared", "snorm",    "unorm"};
    for (bool more = true; more;) {
        more = false;
        for (const char* m : kModifiers) {
            if (Is(Peek(), m)) {
                isStatic = isStatic || Is(Peek(), "static");
                shared = shared || Is(Peek(), "shared");
                rowMajor = rowMajor || Is(Peek(), "row_major");
                Next();
                more = true;
            }
        }
    }
    if (Peek().kind != Token::Identifier) {
        Unexpected(Peek());
        return;
    }
    const Token typeToken = Next();
    Parameter base;
    base.shared = shared;
    bool known = ObjectType(typeToken.text, &base);
    if (!known && (typeToken.text == "vector" || typeToken.text == "matrix") && Is(Peek(), "<")) {
        // vector<float, 3>, matrix<float, 4, 3>
        Next();
        std::vector<std::string> args;
        while (Peek().kind != Token::End && !Is(Peek(), ">")) {
            if (!Is(Peek(), ","))
                args.push_back(Peek().text);
            Next();
        }
        Accept(">");
        std::string name = args.empty() ? "float" : args[0];
        if (args.size() == 2)
            name += args[1];
        else if (args.size() == 3)
            name += args[1] + "x" + args[2];
        known = NumericType(name, &base);
    } else if (!known) {
        known = NumericType(typeToken.text, &base);
    }
    blankDeclaration_ = typeToken.text == "DWORD";
    if (blankDeclaration_)
        known = NumericType("int", &base);
    if (base.cls == D3DXPC_MATRIX_COLUMNS && rowMajor)
        base.cls = D3DXPC_MATRIX_ROWS;
    if (!known) {
        // A struct-typed global becomes a struct parameter.
        for (const Parameter& s : structs_) {
            if (s.name == typeToken.text) {
                base = s;
                base.shared = shared;
                known = true;
            }
        }
    }
    if (!known && !IsTypeName(typeToken.text)) {
        Error(typeToken, code::kSyntax, "unrecognized identifier '" + typeToken.text + "'");
        stopped_ = true;
        return;
    }
    if (Peek().kind != Token::Identifier) {
        Unexpected(Peek());
        return;
    }
    if (Is(Peek(1), "(")) {
        if (Declared(Peek()))
            Function(Peek().text);
        return;
    }
    if (!known) {
        // A type the effect does not hold as a parameter (a typedef, a struct of objects): glslang
        // judges it. Each of its declarators counts.
        if (Declared(Peek()))
            SkipCounting(",", ";");
        return;
    }
    while (Peek().kind != Token::End) {
        if (Peek().kind != Token::Identifier) {
            Unexpected(Peek());
            return;
        }
        if (!Declared(Peek()))
            return;
        if (!Declarator(base, start, isStatic)) {
            unblanked_ = true;
            return;
        }
        if (Accept(";"))
            return;
        if (!Expect(","))
            return;
    }
}

bool Parser::Declarator(Parameter p, std::size_t declarationStart, bool isStatic) {
    const Token nameToken = Next();
    p.name = nameToken.text;
    p.where = Where(nameToken);
    if (Accept("[")) {
        if (Peek().kind == Token::Number)
            p.elements = static_cast<UINT>(std::strtoul(Peek().text.c_str(), nullptr, 0));
        while (Peek().kind != Token::End && !Is(Peek(), "]"))
            Next();
        if (!Expect("]"))
            return false;
    }
    while (Accept(":")) {
        if (Is(Peek(), "register")) {
            Next();
            if (Accept("(")) {
                const std::string reg = Peek().text;
                if ((reg[0] == 's' || reg[0] == 'S') && reg.size() > 1)
                    p.samplerRegister = std::atoi(reg.c_str() + 1);
                while (Peek().kind != Token::End && !Is(Peek(), ")"))
                    Next();
                Expect(")");
            }
        } else if (Peek().kind == Token::Identifier) {
            p.semantic = Next().text;
        }
    }
    Annotations(&p.annotations);
    const bool wholeBlank = IsTexture(p.type) || p.type == D3DXPT_STRING || p.type == D3DXPT_VERTEXSHADER ||
                            p.type == D3DXPT_PIXELSHADER || blankDeclaration_;
    if (Is(Peek(), "=")) {
        const std::size_t equals = pos_;
        Next();
        if (Is(Peek(), "sampler_state")) {
            Next();
            if (!Expect("{"))
                return false;
            while (Peek().kind != Token::End && !Is(Peek(), "}")) {
                StateAssignment state;
                if (StateAssignmentAt(&state, true))
                    p.samplerStates.push_back(state);
                else
                    Recover();
            }
            const std::size_t last = pos_;
            if (!Expect("}"))
                return false;
            Blank(equals, last);
        } else if (Is(Peek(), "compile") || p.type == D3DXPT_VERTEXSHADER || p.type == D3DXPT_PIXELSHADER) {
            const bool vertex = p.type == D3DXPT_VERTEXSHADER;
            ShaderVariable shader;
            shader.name = p.name;
            const Token at = Peek();
            if (Is(Peek(), "asm")) {
                if (!AsmBlock(&shader.value, vertex))
                    return false;
            } else if (Is(Peek(), "compile")) {
                if (!CompileStatement(&shader.value))
                    return false;
                CheckCompile(shader.value, at, p.type == D3DXPT_VERTEXSHADER);
                compiles_.emplace_back(shader.value, at);
            } else if (Accept("{")) {
                // An array of shaders: compile statements or NULL, one per element.
                while (Peek().kind != Token::End && !Is(Peek(), "}")) {
                    StateValue element;
                    const Token elementAt = Peek();
                    if (Is(Peek(), "asm")) {
                        if (!AsmBlock(&element, vertex))
                            return false;
                    } else if (Is(Peek(), "compile")) {
                        if (!CompileStatement(&element))
                            return false;
                        CheckCompile(element, elementAt, p.type == D3DXPT_VERTEXSHADER);
                        compiles_.emplace_back(element, elementAt);
                    } else if (IsNoCase(Peek(), "NULL")) {
                        Next();
                        element.kind = StateValue::Kind::Null;
                    } else {
                        Error(Peek(), code::kSyntax,
                              "syntax error: unexpected token '" + Peek().text + "' in an array of shaders");
                        return false;
                    }
                    shader.elements.push_back(element);
                    if (!Accept(","))
                        break;
                }
                if (!Expect("}"))
                    return false;
            } else {
                Numbers(",", ";");
                shader.value.kind = StateValue::Kind::Null;
            }
            model_->shaderVariables.push_back(shader);
            if (Is(Peek(), ";"))
                Blank(declarationStart, pos_);
            return true;
        } else if (p.type == D3DXPT_STRING && Peek().kind == Token::String) {
            const std::string s = Next().text;
            p.stringValue = s.size() >= 2 ? s.substr(1, s.size() - 2) : std::string();
        } else {
            p.defaults = Numbers(",", ";");
        }
    }
    if (wholeBlank && Is(Peek(), ";"))
        Blank(declarationStart, pos_);
    if (p.type == D3DXPT_VERTEXSHADER || p.type == D3DXPT_PIXELSHADER)
        return true;
    if (isStatic)
        return true;
    const std::uint64_t words = Words(p);
    if (words > kMaxParameterWords) {
        Error(nameToken, code::kSyntax,
              "parameter '" + p.name + "' is too large: " + std::to_string(words) + " words, at most " +
                  std::to_string(kMaxParameterWords));
        return false;
    }
    if (words > kMaxEffectWords - effectWords_) {
        Error(nameToken, code::kSyntax,
              "parameter '" + p.name + "' makes the effect's parameters too large: at most " +
                  std::to_string(kMaxEffectWords) + " words in all");
        return false;
    }
    effectWords_ += words;
    model_->parameters.push_back(p);
    return true;
}

void Parser::Function(const std::string& name) {
    FunctionInfo f;
    f.name = name;
    Next(); // name
    Next(); // (
    // Parameters: split at depth-0 commas; a parameter is uniform when it says so.
    bool uniform = false;
    std::string last;
    int depth = 0;
    bool afterColon = false;
    while (Peek().kind != Token::End) {
        const Token& t = Peek();
        if (depth == 0 && (Is(t, ",") || Is(t, ")"))) {
            if (uniform && !last.empty())
                f.uniformParameters.push_back(last);
            uniform = false;
            last.clear();
            afterColon = false;
            if (Is(t, ")")) {
                Next();
                break;
            }
        } else if (Is(t, "(")) {
            ++depth;
        } else if (Is(t, ")")) {
            --depth;
        } else if (Is(t, "uniform")) {
            uniform = true;
        } else if (Is(t, ":") || Is(t, "=")) {
            afterColon = true;
        } else if (t.kind == Token::Identifier && !afterColon && depth == 0) {
            last = t.text;
        }
        Next();
    }
    model_->functions.push_back(f);
    while (Peek().kind != Token::End && !Is(Peek(), "{") && !Is(Peek(), ";"))
        Next();
    if (Is(Peek(), "{"))
        SkipGroup("{", "}");
    else
        Accept(";");
}

void Parser::TechniqueBlock() {
    const std::size_t first = pos_;
    const Token keyword = Next();
    Technique technique;
    technique.where = Where(keyword);
    if (Peek().kind == Token::Identifier)
        technique.name = Next().text;
    Annotations(&technique.annotations);
    ++openTechniques_; // until its closing brace
    if (!Expect("{"))
        return;
    while (Peek().kind != Token::End && !Is(Peek(), "}")) {
        if (!IsNoCase(Peek(), "pass")) {
            Error(Peek(), code::kSyntax,
                  "syntax error: unexpected token '" + Peek().text + "', expected 'pass'");
            return;
        }
        Pass pass;
        pass.where = Where(Next());
        if (Peek().kind == Token::Identifier)
            pass.name = Next().text;
        Annotations(&pass.annotations);
        if (!Expect("{"))
            return;
        PassBlock(&pass);
        technique.passes.push_back(pass);
    }
    const std::size_t last = pos_;
    if (!Expect("}"))
        return;
    Accept(";");
    Blank(first, last);
    --openTechniques_;
    model_->techniques.push_back(technique);
}

void Parser::PassBlock(Pass* pass) {
    while (Peek().kind != Token::End && !Is(Peek(), "}")) {
        StateAssignment state;
        if (StateAssignmentAt(&state, false))
            pass->states.push_back(state);
        else
            Recover();
    }
    Expect("}");
}

bool Parser::StateAssignmentAt(StateAssignment* state, bool inSampler) {
    const Token nameToken = Next();
    if (nameToken.kind != Token::Identifier) {
        Error(nameToken, code::kSyntax, "syntax error: unexpected token '" + nameToken.text + "'");
        return false;
    }
    state->name = nameToken.text;
    state->where = Where(nameToken);
    const StateInfo* info = FindState(nameToken.text, inSampler);
    if (!info) {
        Error(nameToken, code::kUnknownState, "unrecognized state '" + nameToken.text + "'");
        return false;
    }
    if (Accept("[")) {
        if (Peek().kind != Token::Number) {
            Error(Peek(), code::kSyntax, "syntax error: state index must be a literal number");
            return false;
        }
        state->index = std::atoi(Next().text.c_str());
        const int limit = info->kind == StateKind::ShaderConstant ? 256 : 16; // registers or units
        if (state->index < 0 || state->index >= limit) {
            Error(nameToken, code::kBadStateValue, "state index out of range");
            return false;
        }
        if (!Expect("]"))
            return false;
    }
    if (!Expect("="))
        return false;
    const Token valueToken = Peek();
    if (!Value(*info, &state->value))
        return false;
    if (!Expect(";"))
        return false;
    // Check the value against the state now, so a bad value is an error with its line.
    const StateValue& v = state->value;
    if (v.kind == StateValue::Kind::Compile) {
        if (info->kind != StateKind::VertexShader && info->kind != StateKind::PixelShader) {
            Error(valueToken, code::kBadStateValue,
                  "'compile' is only valid for VertexShader and PixelShader");
            return false;
        }
        CheckCompile(v, valueToken, info->kind == StateKind::VertexShader);
        compiles_.emplace_back(v, valueToken);
    } else if (v.kind == StateValue::Kind::Reference) {
        if (!IsReferenceable(v.name)) {
            Error(valueToken, code::kUndeclared, "undeclared identifier '" + v.name + "'");
            return false;
        }
        const bool number = !v.selector.empty() && v.selector[0] >= '0' && v.selector[0] <= '9';
        if (!v.selector.empty() && !number && !IsReferenceable(v.selector)) {
            Error(valueToken, code::kUndeclared, "undeclared identifier '" + v.selector + "'");
            return false;
        }
        if (!v.selector.empty() && info->kind != StateKind::VertexShader &&
            info->kind != StateKind::PixelShader) {
            Error(valueToken, code::kBadStateValue, "invalid value for state '" + nameToken.text + "'");
            return false;
        }
    } else if (v.kind == StateValue::Kind::Name) {
        DWORD resolved = 0;
        std::string message;
        if (info->type == ValueType::Object || !ResolveNamedValue(info->type, v.name, &resolved, &message)) {
            if (info->type == ValueType::Object || !IsReferenceable(v.name)) {
                Error(valueToken, code::kBadStateValue,
                      "invalid value '" + v.name + "' for state '" + nameToken.text + "'");
                return false;
            }
            state->value.kind = StateValue::Kind::Reference;
        }
    } else if (v.kind == StateValue::Kind::Expression) {
        StateExpression compiled;
        std::string message;
        const auto lookup = [&](const std::string& name, int* parameter, double* constant) {
            for (const Parameter& p : model_->parameters) {
                if (p.name == name && p.cls != D3DXPC_OBJECT) {
                    *parameter = 0;
                    return true;
                }
            }
            DWORD resolved = 0;
            std::string ignored;
            if (!ResolveNamedValue(info->type, name, &resolved, &ignored))
                return false;
            *constant = resolved;
            return true;
        };
        if (info->type == ValueType::Object ||
            !CompileStateExpression(v.expression, lookup, &compiled, &message)) {
            Error(valueToken, code::kBadStateValue,
                  "invalid value for state '" + nameToken.text +
                      "': " + (message.empty() ? "an expression" : message));
            return false;
        }
    } else if (v.kind == StateValue::Kind::Number && info->type == ValueType::Object) {
        Error(valueToken, code::kBadStateValue, "invalid value for state '" + nameToken.text + "'");
        return false;
    }
    return true;
}

bool Parser::IsReferenceable(const std::string& name) const {
    for (const Parameter& p : model_->parameters) {
        if (p.name == name)
            return true;
    }
    for (const ShaderVariable& s : model_->shaderVariables) {
        if (s.name == name)
            return true;
    }
    return false;
}

bool Parser::CompileStatement(StateValue* value) {
    Next(); // compile
    value->kind = StateValue::Kind::Compile;
    if (Peek().kind != Token::Identifier) {
        Error(Peek(), code::kSyntax, "syntax error: expected a shader profile after 'compile'");
        return false;
    }
    value->profile = Next().text;
    if (Peek().kind != Token::Identifier) {
        Error(Peek(), code::kSyntax, "syntax error: expected an entry function after the profile");
        return false;
    }
    value->entry = Next().text;
    if (!Expect("("))
        return false;
    while (Peek().kind != Token::End && !Is(Peek(), ")")) {
        const std::size_t before = pos_;
        value->arguments.push_back(Numbers(",", ")"));
        if (!Accept(",") && pos_ == before)
            break; // a stray closer: Expect reports it
    }
    return Expect(")");
}

bool Parser::Value(const StateInfo& info, StateValue* value) {
    const Token& t = Peek();
    if (Is(t, "compile"))
        return CompileStatement(value);
    if (Is(t, "asm")) {
        if (info.kind == StateKind::VertexShader || info.kind == StateKind::PixelShader)
            return AsmBlock(value, info.kind == StateKind::VertexShader);
        Error(t, code::kBadStateValue, "'asm' is only valid for VertexShader and PixelShader");
        Token brace;
        std::size_t close = 0;
        SkipAsm(&brace, &close);
        return false;
    }
    if (Is(t, "<") && Peek(1).kind == Token::Identifier && Is(Peek(2), ">")) {
        Next();
        value->kind = StateValue::Kind::Reference;
        value->name = Next().text;
        Next();
        return true;
    }
    if (Is(t, "(") && Peek(1).kind == Token::Identifier && Is(Peek(2), "[") && Is(Peek(4), "]") &&
        Is(Peek(5), ")")) {
        // (shaders[Index]): a shader of an array, chosen by a parameter when the pass begins.
        Next();
        value->kind = StateValue::Kind::Reference;
        value->name = Next().text;
        Next();
        value->selector = Next().text;
        Next();
        Next();
        return true;
    }
    if (Is(t, "(") && Peek(1).kind == Token::Identifier && Is(Peek(2), ")") &&
        IsReferenceable(Peek(1).text)) {
        Next();
        value->kind = StateValue::Kind::Reference;
        value->name = Next().text;
        Next();
        return true;
    }
    if (IsNoCase(t, "NULL")) {
        Next();
        value->kind = StateValue::Kind::Null;
        return true;
    }
    if (t.kind == Token::Identifier && !Is(Peek(1), "(") && !Is(Peek(1), "{")) {
        value->kind = StateValue::Kind::Name;
        value->name = Next().text;
        while (Accept("|")) {
            if (Peek().kind != Token::Identifier && Peek().kind != Token::Number) {
                Error(Peek(), code::kSyntax, "syntax error: unexpected token '" + Peek().text + "'");
                return false;
            }
            value->name += "|" + Next().text;
        }
        return true;
    }
    if (Is(t, "(")) {
        // An expression of parameters, evaluated whenever the pass applies its states.
        const std::size_t first = pos_;
        bool names = false;
        SkipGroup("(", ")");
        for (std::size_t i = first; i < pos_; ++i)
            names = names || (tokens_[i].kind == Token::Identifier && !Is(tokens_[i], "true") &&
                              !Is(tokens_[i], "false"));
        if (names && Is(Peek(), ";")) {
            value->kind = StateValue::Kind::Expression;
            for (std::size_t i = first; i < pos_; ++i)
                value->expression.push_back(tokens_[i].text);
            return true;
        }
        pos_ = first;
    }
    value->kind = StateValue::Kind::Number;
    const std::size_t before = pos_;
    // Integers keep all 32 bits (colours such as 0xFF00FF00 do not fit a float).
    int depth = 0;
    bool negative = false;
    while (Peek().kind != Token::End) {
        const Token& n = Peek();
        if (depth == 0 && Is(n, ";"))
            break;
        depth += (Is(n, "(") || Is(n, "{")) ? 1 : (Is(n, ")") || Is(n, "}")) ? -1 : 0;
        if (n.kind == Token::Number) {
            const bool hex = n.text.size() > 1 && (n.text[1] == 'x' || n.text[1] == 'X');
            const double v = hex ? static_cast<double>(std::strtoull(n.text.c_str(), nullptr, 16))
                                 : std::strtod(n.text.c_str(), nullptr);
            value->numbers.push_back(negative ? -v : v);
        } else if (Is(n, "true") || Is(n, "false")) {
            value->numbers.push_back(Is(n, "true") ? 1.0 : 0.0);
        }
        negative = Is(n, "-");
        Next();
    }
    if (value->numbers.empty()) {
        pos_ = before;
        Error(Peek(), code::kBadStateValue, "invalid state value for '" + std::string(info.name) + "'");
        return false;
    }
    return true;
}

void Parser::CheckCompile(const StateValue& value, const Token& at, bool vertex) {
    if (!KnownProfile(value.profile, vertex))
        Error(at, code::kBadProfile,
              "invalid target '" + value.profile + "' for a " + (vertex ? "vertex" : "pixel") + " shader");
}

void Parser::CheckEntries() {
    for (const auto& [value, at] : compiles_) {
        bool found = false;
        for (const FunctionInfo& f : model_->functions)
            found = found || f.name == value.entry;
        if (!found)
            Error(at, code::kEntryNotFound, "'" + value.entry + "': entrypoint not found");
    }
}

} // namespace

bool ParseEffect(const EffectSource& source, EffectModel* model, Diagnostics* diagnostics) {
    *model = EffectModel{};
    Parser parser(source, model, diagnostics);
    parser.Run();
    return !diagnostics->HasErrors();
}

} // namespace platform::fx
