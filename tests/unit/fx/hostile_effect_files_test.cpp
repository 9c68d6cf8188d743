// Effect files from outside that are not effects: devices, FIFOs, directories and files past the size
// limit are refused before a byte is read; text that is no HLSL is a located syntax error; an effect
// declaring past the limit fails with that limit named.
#include "effect_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <sys/stat.h>

namespace {

using platform::fx::kMaxSourceBytes;

class HostileEffectFiles : public EffectFixture {
  protected:
    // Compiles the file at the path (or, with file false, the text) after releasing the last effect.
    HRESULT Compile(const std::string& source, bool file) {
        if (effect_)
            effect_->Release();
        effect_ = nullptr;
        if (!file)
            return Make(source);
        ID3DXBuffer* messages = nullptr;
        const HRESULT result = D3DXCreateEffectFromFileA(device_, source.c_str(), nullptr, nullptr, 0,
                                                         nullptr, &effect_, &messages);
        errors_ = BufferText(messages);
        if (messages)
            messages->Release();
        return result;
    }
};

TEST_F(HostileEffectFiles, OnlyRegularFilesWithinTheSizeLimitAreRead) {
    std::string dir = ::testing::TempDir() + "fx_hostile_XXXXXX"; // tests run in parallel
    ASSERT_NE(mkdtemp(&dir[0]), nullptr);
    dir += '/';
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
        EXPECT_EQ(Compile(c.path, true), c.errors.empty() ? D3D_OK : D3DXERR_INVALIDDATA) << c.path;
        EXPECT_EQ(errors_, c.errors);
    }
    EXPECT_EQ(Compile(std::string(kMaxSourceBytes + 1, ' '), false), D3DXERR_INVALIDDATA);
    EXPECT_EQ(errors_, "memory(1,1): error X1507: source larger than 1048576 bytes\n");
    std::system(("rm -rf " + dir).c_str());
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
        EXPECT_EQ(Compile(c.text, false), c.errors.empty() ? D3D_OK : D3DXERR_INVALIDDATA) << c.text;
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
        EXPECT_EQ(Compile(text + c.close, false), D3D_OK) << c.each << errors_;
        text += c.each + "x" + c.end;
        EXPECT_EQ(Compile(text, false), D3DXERR_INVALIDDATA) << c.each;
        EXPECT_EQ(errors_, "memory(4097," + std::to_string(c.column) + ")" + limit) << c.each;
    }
}

} // namespace
