// Scene scripts as text: what every command accepts, and each fault with its file:line:column.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script_syntax.h"

namespace {

using host::script::ParseScript;
using host::script::ScriptError;
using host::script::Statement;
using host::script::TokenKind;

TEST(ScriptSyntax, ReadsEveryCommandWithItsArguments) {
    const std::string text = "# every command once\r\n"
                             "vector point 1 -2.5 .5   # a comment after a statement\n"
                             "view mirror\n"
                             "position mirror 1 2 3\n"
                             "angles mirror 90 -10 0\n"
                             "arc mirror 75\n"
                             "size mirror 256 128\n"
                             "layer mirror 1\n"
                             "mesh ground box 100 0 0 -50\n"
                             "clear 10 20 30\n"
                             "render mirror\n"
                             "\tduring mirror VTR3RenderDrawE 7\n"
                             "frame\n"
                             "frame 3\n"
                             "clock 1000\n"
                             "tick 40\n"
                             "reset\n"
                             "screenshot \"out\\\\shot \\\"1\\\".png\"\n"
                             "VTR3TexSetPath 1 \"VTR3Content\\water.dds\"\n"
                             "VTR3ViewSetClipPlane 2 \"point\" \"normal\" 1\n"
                             "colour ground 255 128 0\n"
                             "noclear";
    const std::vector<Statement> script = ParseScript(text, "all.vs");
    std::string commands;
    for (const Statement& statement : script) {
        commands += statement.command.text + " ";
    }
    EXPECT_EQ(commands,
              "vector view position angles arc size layer mesh clear render during frame frame clock "
              "tick reset screenshot VTR3TexSetPath VTR3ViewSetClipPlane colour noclear ");
    EXPECT_EQ(script[0].arguments[2].number, -2.5);
    EXPECT_EQ(script[0].arguments[3].number, 0.5);
    EXPECT_EQ(script[0].command.where.line, 2);
    const Statement& during = script[10];
    ASSERT_EQ(during.body.size(), 1u);
    EXPECT_EQ(during.body[0].command.text, "VTR3RenderDrawE");
    EXPECT_EQ(during.body[0].command.where.column, 16);
    EXPECT_EQ(during.body[0].arguments[0].number, 7);
    EXPECT_TRUE(script[11].arguments.empty());
    EXPECT_EQ(script[16].arguments[0].text, "out\\shot \"1\".png");    // \\ and \" are escapes
    EXPECT_EQ(script[17].arguments[1].text, "VTR3Content\\water.dds"); // any other backslash stays
    EXPECT_EQ(script[18].arguments[1].kind, TokenKind::kString);
}

TEST(ScriptSyntax, FaultsNameFileLineAndColumn) {
    const struct {
        const char* text;
        const char* message;
    } kCases[] = {
        {"frobnicate 1", "s.vs:1:1: error: unknown command 'frobnicate'"},
        {"  VTR3Nope 1", "s.vs:1:3: error: unknown export 'VTR3Nope'"},
        {"vector v 1 2", "s.vs:1:1: error: 'vector' takes 4 arguments (NAME X Y Z), not 3"},
        {"VTR3DeInitialize 1", "s.vs:1:1: error: 'VTR3DeInitialize' takes 0 arguments, not 1"},
        {"frame 1 2", "s.vs:1:1: error: 'frame' takes 0 or 1 arguments ([COUNT]), not 2"},
        {"render", "s.vs:1:1: error: 'render' takes 1 argument (VIEW), not 0"},
        {"VTR3TexSetPath 1 2", "s.vs:1:18: error: argument 2 of 'VTR3TexSetPath' must be a string"},
        {"view 12", "s.vs:1:6: error: argument 1 of 'view' must be a name"},
        {"\n\nview a\r\nsize a 1 x", "s.vs:4:10: error: argument 3 of 'size' must be a number"},
        {"VTR3TexSetPath 1 \"abc", "s.vs:1:18: error: unterminated string"},
        {"screenshot \"a\"b", "s.vs:1:15: error: unexpected 'b' after a string"},
        {"screenshot texture 1",
         "s.vs:1:1: error: 'screenshot' takes 3 arguments (texture ID \"FILE.png\"), not 2"},
        {"screenshot txture 1 \"a\"", "s.vs:1:12: error: expected 'texture', not 'txture'"},
        {"screenshot texture 1 side 2 \"a\"", "s.vs:1:22: error: expected 'face', not 'side'"},
        {"screenshot texture 1 face \"a\"",
         "s.vs:1:1: error: 'screenshot' takes 5 arguments (texture ID face N \"FILE.png\"), not 4"},
        {"1 2", "s.vs:1:1: error: a statement begins with a command, not a number"},
        {"\"x\"", "s.vs:1:1: error: a statement begins with a command, not a string"},
        {"clear 1 2 @", "s.vs:1:11: error: unexpected '@'"},
        {"view a\x01", "s.vs:1:7: error: unexpected byte 0x01 after 'a'"},
        {"clock 1.2.3", "s.vs:1:7: error: '1.2.3' is not a number"},
        {"clock -5x", "s.vs:1:7: error: '-5x' is not a number"},
        {"clock 2097152", "s.vs:1:7: error: the number 2097152 does not fit a var (-2097152 to 2097151.999)"},
        {"during camera",
         "s.vs:1:1: error: 'during' takes a view and an export call (VIEW EXPORT ARGUMENTS...)"},
        {"during camera frame 2", "s.vs:1:15: error: 'during' repeats an export call, not 'frame'"},
        {"during camera VTR3RenderDrawE",
         "s.vs:1:15: error: 'VTR3RenderDrawE' takes 1 argument (OBJECT), not 0"},
    };
    for (const auto& test : kCases) {
        std::string message;
        try {
            ParseScript(test.text, "s.vs");
        } catch (const ScriptError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, test.message) << test.text;
    }
    EXPECT_NO_THROW(ParseScript("clock 2097151.999\nclock -2097152\n", "s.vs"));
}

} // namespace
