// The plug-in loaded by the stand-in engine and driven only through its exports: start-up results,
// the log it writes, shut-down and unloading.
#include "forwarding_device.h"
#include "plugin_fixture.h"
#include "reference_count.h"

#include <regex>

namespace {

using log_rows::Count;

// Build stamps differ from build to build; the rest of the log is fixed to the byte. A stamp is
// "Www Mmm dd hh:mm:ss yyyy" and a time "hh:mm:ss"; both are checked for their shape and replaced.
std::string MaskBuildStamps(const std::string& log) {
    static const std::regex stamp(
        "Letzte \xc4nderung: [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] "
        "[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4} -- Letzte Kompillierung: [0-9]{2}:[0-9]{2}:[0-9]{2}");
    return std::regex_replace(log, stamp, "Letzte \xc4nderung: STAMP -- Letzte Kompillierung: TIME");
}

using FrameTest = PluginTest;

// Loaded again, the plug-in writes the same bytes: the row shading and every manager began anew.
TEST_F(FrameTest, InitializeAndDeInitializeWriteTheWholeLogOnEveryLoad) {
    for (int load = 0; load < 2; ++load) {
        EXPECT_EQ(Initialize(), 0);
        EXPECT_EQ(platform::GetStandInWindowTitle(engine_.window()), kTitle);
        EXPECT_EQ(Call("VTR3DeInitialize"), 0);
        const std::string log = UnloadAndReadLog();
        EXPECT_EQ(MaskBuildStamps(log),
                  ReadFileBytes(VTR3_FRAME_EXPECTED_DIR "/initialize_deinitialize.html"))
            << load;
        EXPECT_EQ(Count(log, "Letzte Kompillierung"), 7u);
        Load();
    }
}

TEST_F(FrameTest, ResultCodesOfEachFailingStep) {
    const ULONG deviceReferences = CountOf(engine_.device());
    const ULONG direct3DReferences = CountOf(engine_.direct3d());
    engine_.SetWindowField(nullptr);
    EXPECT_EQ(Initialize(), 1);
    engine_.SetWindowField(engine_.window());
    engine_.SetDirect3DField(nullptr);
    EXPECT_EQ(Initialize(), 2);
    engine_.SetDirect3DField(engine_.direct3d());
    engine_.SetDeviceField(nullptr);
    EXPECT_EQ(Initialize(), 3);

    struct FailingCaps : ForwardingDevice {
        using ForwardingDevice::ForwardingDevice;
        HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9*) override { return D3DERR_INVALIDCALL; }
    };
    FailingCaps* failing = new FailingCaps(engine_.device());
    engine_.SetDeviceField(failing);
    EXPECT_EQ(Initialize(), 4);
    engine_.SetDeviceField(engine_.device());
    failing->Release();

    engine_.SetVersion(6461);
    EXPECT_EQ(Initialize(), 6);
    engine_.SetVersion(6462);
    EXPECT_EQ(Initialize(), 0);
    EXPECT_EQ(Call("VTR3DeInitialize"), 0);

    // One header although start-up ran six times; each failure is an error row with its location. The
    // managers were initialised by the runs that got past the device: 6461 and 6462.
    const std::string log = UnloadAndReadLog();
    const std::pair<const char*, size_t> counts[] = {
        {"<html>", 1},
        {"Das Acknex6 Fensterhandle konnte nicht verf\xfcgbar gemacht werden<br><font size=\"1\">Datei: "
         "vtr3_exports<br>Funktion: VTR3Initialize<br>Zeile: ",
         1},
        {"Das Acknex6 DirectX Graphics9 Hauptobjekt konnte nicht verf\xfcgbar gemacht werden", 1},
        {"Das Acknex6 DirectX Graphics 9 Device konnte nicht verf\xfcgbar gemacht werden", 1},
        {"Fehler beim auslesen der DirectX Graphics 9 Devicecaps<br><font size=\"1\">DirectX Beschreibung: "
         "Invalid call<br>DirectX String: D3DERR_INVALIDCALL<br>Datei: vtr3_exports",
         1},
        {"Es wurde keine g\xfcltige Acknex 6 Version gefunden", 1},
        {"Es wurde eine g\xfcltige Acknex 6 Version gefunden", 1},
        {"Der Viewmanger wurde erfolgreich initialisiert", 2}};
    for (const auto& [text, count] : counts) {
        EXPECT_EQ(Count(log, text), count) << text;
    }
    // The device and the IDirect3D9 belong to the engine: the plug-in keeps no reference on them.
    EXPECT_EQ(CountOf(engine_.device()), deviceReferences);
    EXPECT_EQ(CountOf(engine_.direct3d()), direct3DReferences);
}

TEST_F(FrameTest, EngineRowsShowKnownEditionsAndTheVersion) {
    engine_.SetVersion(6554);
    // The edition is a var: 1 to 4 are 1024 to 4096 (fraction bits dropped); the raw 4 is no edition.
    for (var edition : {1024, 2047, 2048, 3072, 4096, 4, 5120, 0, -1024}) {
        engine_.SetEdition(edition);
        ASSERT_EQ(Initialize(), 0);
    }
    const std::string log = UnloadAndReadLog();
    std::string editions;
    const std::regex edition("<b>Edition:</b>[^\\n]*\\n[^\\n]*size=\"2\">([A-Za-z]+)<br>");
    for (std::sregex_iterator at(log.begin(), log.end(), edition), end; at != end; ++at) {
        editions += (*at)[1].str() + " ";
    }
    EXPECT_EQ(editions, "Standard Standard Extra Commercial Professional ");
    EXPECT_EQ(Count(log, ">V6.400391<br>"), 9u);
}

TEST_F(FrameTest, LogSwitchOtherThanOneWritesNoFile) {
    EXPECT_EQ(Initialize(0), 0);
    EXPECT_EQ(platform::GetStandInWindowTitle(engine_.window()), kTitle);
    EXPECT_EQ(Call("VTR3DeInitialize"), 0);
    EXPECT_EQ(Initialize(2), 0);
    EXPECT_EQ(Call("VTR3DeInitialize"), 0);
    plugin_.reset();
    EXPECT_FALSE(std::filesystem::exists(directory_.path() / "Vantor3.html"));
}

TEST_F(FrameTest, ResourceAndMemoryRequestsWalkTheManagersInTheirOrders) {
    const char* const requests[] = {"VTR3ReleaseResources", "VTR3RecreateResources", "VTR3ReleaseMemory"};
    // Start-up stops at the device: the log is open and no manager is initialised, so each one answers
    // a request with its not-initialised row, in the order the frame walks them.
    engine_.SetDeviceField(nullptr);
    ASSERT_EQ(Initialize(), 3);
    for (const char* request : requests) {
        EXPECT_EQ(Call(request), 0);
    }
    engine_.SetDeviceField(engine_.device());
    ASSERT_EQ(Initialize(), 0);
    for (const char* request : requests) {
        EXPECT_EQ(Call(request), 0);
    }
    EXPECT_EQ(Call("VTR3SwitchResolution"), 0);
    EXPECT_EQ(Call("VTR3DeInitialize"), 0);
    // The log was closed by VTR3DeInitialize: a late request leaves no trace.
    EXPECT_EQ(Call("VTR3ReleaseMemory"), 0);
    const std::string log = UnloadAndReadLog();

    // A row with location stands for the function that raised it.
    std::vector<std::string> walked;
    for (const std::string& row : log_rows::RowsAfter(log, "Device konnte nicht verf\xfcgbar gemacht")) {
        walked.push_back(row.find(" @ ") == std::string::npos ? row : row.substr(row.rfind(' ') + 1));
    }
    std::vector<std::string> expected;
    const struct {
        const char* method;
        std::vector<const char*> classes;
        const char* row;
    } walks[] = {
        {"ReleaseResources",
         {"ViewManager", "TextureManager", "EffectManager", "ObjectManager", "PostProcessor", "Renderer"},
         "Alle API-Resourcen wurden freigegeben"},
        {"RecreateResources",
         {"PostProcessor", "ObjectManager", "EffectManager", "TextureManager", "ViewManager"},
         "Alle API-Resourcen wurden neu erstellt"},
        {"ReduceMemoryOverhead",
         {"ViewManager", "TextureManager", "ObjectManager", "EffectManager"},
         "Der nicht verwendete Arbeitsspeicher wurde freigegeben"}};
    for (const auto& walk : walks) {
        for (const char* name : walk.classes) {
            expected.push_back(std::string("c_VTR3") + name + "::" + walk.method);
        }
        expected.push_back(std::string("Information: ") + walk.row);
    }
    ASSERT_GE(walked.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(walked.begin(), walked.begin() + expected.size()), expected);

    // Initialised, the managers do their work without a row; then the six de-initialisation rows.
    const std::vector<std::string> running =
        log_rows::RowsAfter(log, "Der Anwendungstitel ( Acknex 6 Fenstertitel ) wurde ge\xe4ndert");
    ASSERT_EQ(running.size(), 9u);
    EXPECT_EQ(running[0], expected[6]);
    EXPECT_EQ(running[1], expected[12]);
    EXPECT_EQ(running[2], expected[17]);
    EXPECT_EQ(log.substr(log.size() - 9), "</html>\r\n");
}

TEST_F(FrameTest, UnloadingWhileInitialisedWarnsAndShutsDownInReverseOrder) {
    ASSERT_EQ(Initialize(), 0);
    const std::string log = UnloadAndReadLog();

    const char* const inOrder[] = {
        "Der Post-Processor wurde nicht ordnungsgem\xe4\xdf deinitialsiert ...",
        "Der Post-Processor wurde erfolgreich deinitialisiert",
        "Der Objektmanager wurde nicht ordnungsgem\xe4\xdf deinitialisiert<",
        "Das Rendercore wurde nicht ordungsgem\xe4\xdft deinitialisiert.",
        "Der Effektmanager wurde nicht ordungsgem\xe4\xdf deinitialisiert.",
        "Der Texturemanager wurde nicht ordnungsgem\xe4\xdf deinitialisiert.<br><font size=\"1\">Datei: "
        "vtr3_textures<br>Funktion: c_VTR3TextureManager::~c_VTR3TextureManager",
        "Der Viewmanager wurde nicht ordnungsgem\xe4\xdf deinitialisiert.<br><font size=\"1\">Datei: "
        "vtr3_views<br>Funktion: c_VTR3ViewManager::~c_VTR3ViewManager",
        "Der Viewmanager wurde erfolgreich deinitialisiert",
        "</html>\r\n",
    };
    size_t previous = 0;
    for (const char* text : inOrder) {
        const size_t at = log.find(text, previous);
        EXPECT_NE(at, std::string::npos) << text;
        previous = at == std::string::npos ? previous : at;
    }
}

} // namespace
