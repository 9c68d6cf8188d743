// The HTML log, byte for byte: rows, shading, message boxes and the cut of long messages. The header,
// the sections and the rows of a whole start-up are pinned end to end (tests/e2e/frame).
#include "debug/vtr3_debugSystem.h"

#include "platform_control.h"
#include "scoped_directory.h"

#include <d3d9.h>

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kCrLf = "\r\n";

std::string Line(int tabs, const std::string& text) {
    return std::string(tabs, '\t') + text + kCrLf;
}

std::string RowStart(bool light) {
    return Line(7, light ? "<tr bgcolor=\"#E9E9E9\">" : "<tr bgcolor=\"#D7D7D7\">");
}

const std::string kInfoCell =
    "<td width=\"10%\" valign=\"top\" style=\"text-indent: 3pt\"><font face=\"Arial\" "
    "color=\"#009900\" size=\"2\"><b>Information:</b></font></td>";
const std::string kWarningCell =
    "<td width=\"10%\" valign=\"top\" style=\"text-indent: 3pt\"><font face=\"Arial\" "
    "color=\"#FF9C00\" size=\"2\"><b>Warnung:</b></font></td>";
const std::string kErrorCell =
    "<td width=\"10%\" valign=\"top\" style=\"text-indent: 3pt\"><font face=\"Arial\" "
    "size=\"2\" color=\"#FF0000\"><b>Fehler:</b></font></td>";

std::string PlainMessage(const std::string& message) {
    return "<td width=\"90%\" valign=\"top\"><font face=\"Arial\" color=\"#000000\" size=\"2\">" + message +
           "</font></td>";
}

std::string LocatedMessage(const std::string& message, const std::string& file, const std::string& function,
                           int line) {
    return "<td width=\"90%\" valign=\"top\"><font face=\"Arial\" color=\"#000000\" size=\"2\">" + message +
           "<br><font size=\"1\">Datei: " + file + "<br>Funktion: " + function +
           "<br>Zeile: " + std::to_string(line) + "</font></font></td>";
}

std::string Row(bool light, const std::string& kind, const std::string& message) {
    return RowStart(light) + Line(8, kind) + Line(8, message) + Line(7, "</tr>");
}

// The log's bytes after the header, for a log that is still open.
std::string Body(const std::string& log) {
    const std::string marker = Line(2, "<div align=\"left\">");
    const size_t at = log.find(marker);
    return at == std::string::npos ? std::string() : log.substr(at + marker.size());
}

class DebugSystemTest : public ::testing::Test {
  protected:
    std::string Written() {
        log_.Close();
        return ReadFileBytes(directory_.path() / "Vantor3.html");
    }

    ScopedDirectory directory_;
    c_VTR3DebugSystem log_;
};

TEST_F(DebugSystemTest, ShadingSurvivesReopeningAndSectionsAboveFourWriteOnlyBreaks) {
    log_.Open();
    log_.LogInformation("f", 1, "g", 0, "first");
    log_.Close();
    log_.Open();
    log_.BeginSection(7);
    log_.LogInformation("f", 1, "g", 0, "second");
    EXPECT_EQ(Body(Written()), Line(3, "<br><br>") + Row(false, kInfoCell, PlainMessage("second")) +
                                   Line(2, "</div>") + Line(1, "</body>") + Line(0, "</html>"));
}

// Every kind of row, shaded in turn; percent signs in values stay single. Label rows, sections and
// umlauts are pinned by the whole start-up's log (tests/e2e/frame).
TEST_F(DebugSystemTest, EveryKindOfRowByteForByte) {
    log_.Open();
    log_.LogInformation("f", 1, "g", 0, "%s", "100% sicher %d %s");
    log_.LogWarning("vtr3_test", 3, "c_Test::Warn", 1, "Achtung %d", 2);
    log_.LogDirectXError("vtr3_test", 42, "c_Test::Load", D3DERR_INVALIDCALL, "Laden von %s", "a.fx");
    const std::string directX =
        "<td width=\"90%\" valign=\"top\"><font face=\"Arial\" color=\"#000000\" size=\"2\">Laden von "
        "a.fx<br>"
        "<font size=\"1\">DirectX Beschreibung: Invalid call<br>DirectX String: D3DERR_INVALIDCALL<br>Datei: "
        "vtr3_test<br>Funktion: c_Test::Load<br>Zeile: 42</font></font></td>";
    EXPECT_EQ(Body(Written()),
              Row(true, kInfoCell, PlainMessage("100% sicher %d %s")) +
                  Row(false, kWarningCell, LocatedMessage("Achtung 2", "vtr3_test", "c_Test::Warn", 3)) +
                  Row(true, kErrorCell, directX) + Line(2, "</div>") + Line(1, "</body>") +
                  Line(0, "</html>"));
}

TEST_F(DebugSystemTest, LineBreaksEndInCrLfAndLongMessagesAreCut) {
    log_.Open();
    log_.LogError("f", 1, "g", "%s", "\na\nb\r\nc\rd\n\n");
    log_.LogDirectXError("f", 2, "g", D3DERR_INVALIDCALL, "x\ny");
    log_.LogLabel("L:", "p\nq");
    const std::string body = Body(Written());
    EXPECT_NE(body.find(LocatedMessage("\r\na\r\nb\r\nc\rd\r\n\r\n", "f", "g", 1)), std::string::npos);
    EXPECT_NE(body.find(">x\r\ny<br>"), std::string::npos);
    EXPECT_NE(body.find(">p\r\nq<br>"), std::string::npos);
    // A message of nothing but line breaks fits whole, each one doubled.
    log_.Open();
    log_.LogInformation("f", 1, "g", 0, "%s", std::string(5000, '\n').c_str());
    std::string breaks;
    for (int i = 0; i < c_VTR3DebugSystem::MESSAGE_BUFFER_SIZE - 1; ++i) {
        breaks += kCrLf;
    }
    EXPECT_NE(Body(Written()).find(PlainMessage(breaks)), std::string::npos);
    // A long message is cut to the buffer.
    log_.Open();
    log_.LogInformation("f", 1, "g", 0, "%s", std::string(5000, 'x').c_str());
    EXPECT_NE(
        Body(Written()).find(PlainMessage(std::string(c_VTR3DebugSystem::MESSAGE_BUFFER_SIZE - 1, 'x'))),
        std::string::npos);
}

TEST_F(DebugSystemTest, MessageBoxesAppearOnlyWhileOpenAndCarryTheLocation) {
    const size_t before = platform::MessageBoxCount();
    EXPECT_EQ(log_.ShowMessage("f", 1, "g", 1, "Vantor", MB_OK, "closed"), 0);
    EXPECT_EQ(platform::MessageBoxCount(), before);

    log_.Open();
    EXPECT_EQ(log_.ShowMessage("vtr3_test", 7, "c_Test::Run", 1, "Vantor", MB_OK, "Meldung %d", 5), IDOK);
    EXPECT_EQ(platform::LastMessageBoxText(),
              "Meldung 5\n\nDatei:\tvtr3_test\nFunktion:\tc_Test::Run\nZeile:\t7");
    EXPECT_EQ(log_.ShowMessage("vtr3_test", 7, "c_Test::Run", 2, "Vantor", MB_OK, "ohne Ort"), IDOK);
    EXPECT_EQ(platform::LastMessageBoxText(), "ohne Ort");
    EXPECT_EQ(
        log_.ShowDirectXMessage("vtr3_test", 9, "c_Test::Draw", D3DERR_INVALIDCALL, "Vantor", MB_OK, "DX"),
        IDOK);
    EXPECT_EQ(platform::LastMessageBoxText(),
              "DX\nDirectX:\tInvalid call\nDatei:\tvtr3_test\nFunktion:\tc_Test::Draw\nZeile:\t9");
    EXPECT_EQ(platform::MessageBoxCount(), before + 3);
}

TEST(DebugSystemWithoutFile, RowsOfAClosedLogCreateNoFile) {
    ScopedDirectory directory;
    {
        c_VTR3DebugSystem log;
        log.BeginSection(0);
        log.LogError("f", 1, "g", "nichts");
        log.Close();
    }
    EXPECT_FALSE(std::filesystem::exists(directory.path() / "Vantor3.html"));
}

} // namespace
