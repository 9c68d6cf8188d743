// Effect files from outside that are not effects: devices, FIFOs, directories and files past the size
// limit are refused before a byte is read; text that is no HLSL is a located syntax error; an effect
// declaring past the limit, or past a size budget, fails with that limit named.
#include "effect_fixture.h"
#include "scoped_directory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using platform::fx::kMaxSourceBytes;

using HostileEffectFiles = EffectFixture;

TEST_F(HostileEffectFiles, OnlyRegularFilesWithinTheSizeLimitAreRead) {
    const ScopedDirectory scoped;
    const std::string dir = scoped.path().string() + "/";
    const std::string fifo = dir + "fifo.fx";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteFile(dir + "limit.fx", std::string(kMaxSourceBytes, ' '));
    WriteFile(dir + "over.fx", std::string(kMaxSourceBytes + 1, ' '));
    WriteFile(dir + "half.fxh", std::string(kMaxSourceBytes / 2, ' '));
    WriteFile(dir + "zero.fx", "\n#include \"/dev/zero\"\n");
    WriteFile(dir + "twice.fx", "#include \"half.fxh\"\n#include \"half.fxh\"\n");
    const std::string refused = ": error X1507: failed to open source file: '";
    const struct {
        std::string path;
        std::string errors; // "" for an effect
    } kCases[] = {
        {"/dev/zero", "/dev/zero(1,1)" + refused + "/dev/zero': not a regular file\n"},
        {fifo, fifo + "(1,1)" + refused + fifo + "': not a regular file\n"},
        {dir, dir + "(1,1)" + refused + dir + "': not a regular file\n"},
        {dir + "over.fx", dir + "over.fx(1,1)" + refused + dir + "over.fx': larger than 1048576 bytes\n"},
        {dir + "limit.fx", ""},
        {dir + "zero.fx", dir + "zero.fx(2,11)" + refused + "/dev/zero': not a regular file\n"},
        {dir + "twice.fx", dir + "twice.fx(2,11): error X1507: #include makes the source larger than 1048576 "
                                 "bytes: 'half.fxh'\n"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Make(c.path, true), c.errors.empty() ? D3D_OK : D3DXERR_INVALIDDATA) << c.path;
        EXPECT_EQ(errors_, c.errors);
    }
    EXPECT_EQ(Make(std::string(kMaxSourceBytes + 1, ' ')), D3DXERR_INVALIDDATA);
    EXPECT_EQ(errors_, "memory(1,1): error X1507: source larger than 1048576 bytes\n");
}

// The first text that is no declaration, function, struct or technique stops the compile, as the HLSL
// compiler's own parser stops; an empty effect or one of known types and typedefs compiles. (Whole
// files of random bytes and text run in the effect fuzz replay.)
TEST_F(HostileEffectFiles, TextThatIsNoHlslIsASyntaxErrorAtItsPlace) {
    const struct {
        std::string text;
        std::string errors;
    } kCases[] = {
        {"", ""},
        {"typedef float4 color;\nstruct S { texture t; };\ncolor c;\nS s;\nSamplerState p;\n", ""},
        {"float a;\n  @ b; $", "memory(2,3): error X3000: syntax error: unexpected token '@'\n"},
        {"\x81\x02", "memory(1,1): error X3000: syntax error: unexpected token '\\x81'\n"},
        {"float4 f;\nhello world; more", "memory(2,1): error X3000: unrecognized identifier 'hello'\n"},
        {"static float4 5;", "memory(1,15): error X3000: syntax error: unexpected token '5'\n"},
        {"const {", "memory(1,7): error X3000: syntax error: unexpected token '{'\n"},
        {"float a, 1;", "memory(1,10): error X3000: syntax error: unexpected token '1'\n"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Make(c.text), c.errors.empty() ? D3D_OK : D3DXERR_INVALIDDATA) << c.text;
        EXPECT_EQ(errors_, c.errors) << c.text;
    }
}

TEST_F(HostileEffectFiles, DeclarationsPastTheLimitAreRefusedWithTheLimitNamed) {
    const std::string limit = ": error X3000: too many declarations: an effect holds at most 4096 variables, "
                              "functions, structs and techniques\n";
    const struct {
        std::string first; // a declaration before the repeated ones, and what closes it
        std::string close;
        std::string each; // repeated with a number, then `end`
        std::string end;
        int column; // of the declaration past the limit, on line 4097
    } kCases[] = {
        {"", "", "float a", ";\n", 7},
        {"", "", "float f", "() { return 1; }\n", 7},
        {"", "", "technique t", " { }\n", 1},
        {"typedef float F;\n", "", "F a", ";\n", 3},
        {"struct S {\n", "};\n", "float a", ";\n", 9}, // a member counts at its ';'
    };
    for (const auto& c : kCases) {
        std::string text = c.first;
        for (int k = 0; k < 4096 - (c.first.empty() ? 0 : 1); ++k)
            text += c.each + std::to_string(k) + c.end;
        EXPECT_EQ(Make(text + c.close), D3D_OK) << c.each << errors_;
        text += c.each + "x" + c.end;
        EXPECT_EQ(Make(text), D3DXERR_INVALIDDATA) << c.each;
        EXPECT_EQ(errors_, "memory(4097," + std::to_string(c.column) + ")" + limit) << c.each;
    }
}

// Small texts that would ask for gigabytes: macros repeating their argument 100 times a level,
// parameters past their size, and arrays of a 4096-member struct, whose element views must not each
// copy the member list.
TEST_F(HostileEffectFiles, SizesPastTheirBudgetAreRefusedWithTheBudgetNamed) {
    std::string macros, many, views = "struct S { float " + Repeat("a, ", 4095) + "a; };\n";
    for (int level = 1; level <= 5; ++level)
        macros += "#define M" + std::to_string(level) + "(x) M" + std::to_string(level + 1) + "(" +
                  Repeat("x ", 100) + ")\n";
    for (int k = 0; k < 5; ++k)
        many += "float4x4 m" + std::to_string(k) + "[65536];\n";
    for (int k = 0; k < 15; ++k)
        views += "S s" + std::to_string(k) + "[64];\n";
    const struct {
        std::string text;
        std::string errors;
    } kCases[] = {
        {macros + "float f = 1;\nfloat g = M1(2);\n",
         "memory(7,11): error X1000: macro expansion exceeds 1048576 tokens\n"},
        {"float4 a[4];\nstruct A { float4 v[4096]; };\nA b[1000000];\n",
         "memory(3,3): error X3000: parameter 'b' is too large: 16384000000 words, at most 1048576\n"},
        {many, "memory(5,10): error X3000: parameter 'm4' makes the effect's parameters too large: at most "
               "4194304 words in all\n"},
        {views + "float4 c;\n", ""},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Make(c.text), c.errors.empty() ? D3D_OK : D3DXERR_INVALIDDATA) << c.errors;
        EXPECT_EQ(errors_, c.errors);
    }
    ASSERT_NE(effect_, nullptr);
    const float four[4] = {1, 2, 3, 4};
    EXPECT_EQ(effect_->SetFloatArray(effect_->GetParameterByName(nullptr, "c"), four, 4), D3D_OK);
    EXPECT_NE(effect_->GetParameterElement(effect_->GetParameterByName(nullptr, "s0"), 0), nullptr);
}

} // namespace
