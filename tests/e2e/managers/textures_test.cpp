// The texture exports end to end on the platform's device, seen through a device that records the
// creations: image files of every type, render targets and depth-stencil textures of every script
// format, the refused script numbers, and the release and re-creation passes.
#include "plugin_fixture.h"
#include "recording_device.h"

#include "image_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

// The post-processor's render targets 30000 to 30006, which lead the table, then the calls given.
Rows AfterPostTargets(Rows calls) {
    for (int width : {256, 256, 512, 512, 1024, 1024, 1024})
        calls.insert(calls.begin(), "CreateTexture(" + std::to_string(width) + ", " +
                                        std::to_string(width * 3 / 4) + ", 1, RENDERTARGET, 21, DEFAULT)");
    return calls;
}

const std::string kTextures = " @ vtr3_textures c_VTR3TextureManager::";

std::string Initialized(int id) {
    return "Information: Die Textur mit der ID: " + std::to_string(id) + " wurde erfolreich initialisiert";
}

std::string Created(int id) {
    return "Information: Die Textur mit der ID: " + std::to_string(id) + " wurde erfolgreich erstellt";
}

void WriteFile(const std::string& name, const test_files::Bytes& bytes) {
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

test_files::Bytes Texels(size_t count) {
    return test_files::Bytes(count * 4, 0x80);
}

// A 4x4 grey PNG file.
void WritePng(const std::string& name) {
    test_files::PngSpec png;
    png.width = png.height = 4;
    png.pixels = Texels(16);
    WriteFile(name, test_files::MakePng(png));
}

class TexturesTest : public PluginTest {
  protected:
    TexturesTest() {
        device_ = new RecordingDevice(engine_.device());
        engine_.SetDeviceField(device_);
    }
    ~TexturesTest() override {
        plugin_.reset();
        device_->Release();
    }

    // A render target (usage 0) or depth-stencil texture (usage 1) with a script format code.
    void DeviceTexture(int id, int kind, int usage, int width, int height, int format) {
        EXPECT_EQ(Call("VTR3TexCreate", Var(id), Var(kind)), 0);
        EXPECT_EQ(Call("VTR3TexSetUsage", Var(id), Var(usage)), 0);
        EXPECT_EQ(Call("VTR3TexSetSize", Var(id), Var(width), Var(height)), 0);
        EXPECT_EQ(Call("VTR3TexSetFormat", Var(id), Var(format)), 0);
        EXPECT_EQ(Call("VTR3TexInitialize", Var(id)), 0);
    }
    void FileTexture(int id, int kind, const std::string& path) {
        EXPECT_EQ(Call("VTR3TexCreate", Var(id), Var(kind)), 0);
        EXPECT_EQ(Call("VTR3TexSetPath", Var(id), Text(path)), 0);
        EXPECT_EQ(Call("VTR3TexInitialize", Var(id)), 0);
    }
    Rows TakeCalls() {
        Rows calls;
        calls.swap(device_->calls());
        return calls;
    }

    RecordingDevice* device_;
};

TEST_F(TexturesTest, ImageFilesOfEveryTypeLoad) {
    WritePng("flat.png");
    const std::uint8_t grey[3] = {90, 90, 90};
    WriteFile("photo.jpg", test_files::MakeJpeg(8, 8, 3, grey));
    test_files::DdsSpec flat, cube, volume;
    flat.data = Texels(16);
    cube.caps2 = 0xfe00;
    cube.data = Texels(6 * 16);
    volume.depth = 4;
    volume.caps2 = 0x200000;
    volume.data = Texels(64);
    WriteFile("flat.dds", test_files::MakeDds(flat));
    WriteFile("sky.dds", test_files::MakeDds(cube));
    WriteFile("fog.dds", test_files::MakeDds(volume));
    ASSERT_EQ(Initialize(), 0);

    FileTexture(1, 0, "flat.png");
    FileTexture(2, 0, "photo.jpg");
    FileTexture(3, 0, "flat.dds");
    FileTexture(4, 1, "sky.dds");
    FileTexture(5, 2, "fog.dds");
    FileTexture(6, 0, "missing.png");
    EXPECT_GT(LiveObjectsOfThePlugin(), 0);
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);

    const Rows rows = UnloadAndReadRows();
    ASSERT_GE(rows.size(), 12u);
    for (int id = 1; id <= 5; ++id) {
        EXPECT_EQ(rows[2 * (id - 1)], Created(id));
        EXPECT_EQ(rows[2 * (id - 1) + 1], Initialized(id));
    }
    EXPECT_EQ(rows[11].rfind("Fehler: Die Texture mit der ID: 6 konnte nicht initialisiert werden # ", 0),
              0u);
    EXPECT_NE(rows[11].find(kTextures + "TextureInitialize"), std::string::npos);
}

TEST_F(TexturesTest, DeviceTexturesOfEveryScriptFormatAndTheRefusedNumbers) {
    ASSERT_EQ(Initialize(), 0);
    TakeCalls(); // the post-processor's seven targets
    const int formats[] = {20, 22, 21, 60, 117, 111, 112, 113, 63, 114, 71};
    Rows expected;
    for (int code = 0; code <= 10; ++code) {
        DeviceTexture(10 + code, 0, 0, 16, 8, code);
        DeviceTexture(30 + code, 0, 1, 16, 8, code);
        expected.push_back("CreateTexture(16, 8, 1, RENDERTARGET, " + std::to_string(formats[code]) +
                           ", DEFAULT)");
        expected.push_back("CreateTexture(16, 8, 1, DEPTHSTENCIL, " + std::to_string(formats[code]) +
                           ", DEFAULT)");
    }
    DeviceTexture(50, 1, 0, 32, 0, 2);
    expected.push_back("CreateCubeTexture(32, 1, RENDERTARGET, 21, DEFAULT)");
    // Sizes reach the device as the script gave them, and the device refuses them.
    DeviceTexture(51, 0, 0, -4, 100000, 2);
    expected.push_back("CreateTexture(4294967292, 100000, 1, RENDERTARGET, 21, DEFAULT)");
    EXPECT_EQ(TakeCalls(), expected);

    // Rejected script numbers return 1 and change nothing.
    EXPECT_EQ(Call("VTR3TexCreate", Var(60), Var(3)), 1);
    EXPECT_EQ(Call("VTR3TexCreate", Var(60), Var(-1)), 1);
    EXPECT_EQ(Call("VTR3TexSetFormat", Var(50), Var(11)), 1);
    EXPECT_EQ(Call("VTR3TexSetFormat", Var(50), Var(-1)), 1);
    EXPECT_EQ(Call("VTR3TexSetUsage", Var(50), Var(2)), 1);
    EXPECT_EQ(Call("VTR3TexSetViewID", Var(50), Var(6), Var(1)), 1);
    EXPECT_EQ(Call("VTR3TexSetViewID", Var(50), Var(-1), Var(1)), 1);
    EXPECT_EQ(Call("VTR3TexSetViewID", Var(50), Var(5), Var(1)), 0);

    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);

    const Rows rows = UnloadAndReadRows();
    const auto tooLarge = std::find(rows.begin(), rows.end(), Created(51)) + 1;
    ASSERT_LT(tooLarge, rows.end());
    EXPECT_EQ(tooLarge->rfind("Fehler: Die Textur mit der ID: 51 konnte nicht initialisiert werden # ", 0),
              0u);
    EXPECT_EQ(std::count(rows.begin(), rows.end(), Initialized(50)), 1);
}

TEST_F(TexturesTest, ReleaseAndRecreateRebuildUntilAFileIsGone) {
    WritePng("first.png");
    WritePng("second.png");
    ASSERT_EQ(Initialize(), 0);
    DeviceTexture(1, 0, 0, 64, 32, 7);
    FileTexture(2, 0, "first.png");
    DeviceTexture(3, 1, 0, 16, 0, 1);
    FileTexture(4, 0, "second.png");
    DeviceTexture(5, 0, 1, 64, 32, 10);
    const long alive = LiveObjectsOfThePlugin();
    TakeCalls();

    EXPECT_EQ(Call("VTR3ReleaseResources"), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);
    EXPECT_EQ(Call("VTR3RecreateResources"), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), alive);
    Rows again = TakeCalls();
    // The device textures again as they were; the files loaded through the device in between.
    again.erase(
        std::remove_if(again.begin(), again.end(),
                       [](const std::string& call) { return call.find("MANAGED") != std::string::npos; }),
        again.end());
    EXPECT_EQ(again, AfterPostTargets({"CreateTexture(64, 32, 1, RENDERTARGET, 113, DEFAULT)",
                                       "CreateCubeTexture(16, 1, RENDERTARGET, 22, DEFAULT)",
                                       "CreateTexture(64, 32, 1, DEPTHSTENCIL, 71, DEFAULT)"}));

    EXPECT_EQ(Call("VTR3ReleaseResources"), 0);
    std::filesystem::remove("first.png");
    EXPECT_EQ(Call("VTR3RecreateResources"), 0);
    EXPECT_EQ(TakeCalls(), AfterPostTargets({"CreateTexture(64, 32, 1, RENDERTARGET, 113, DEFAULT)"}));
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);

    const Rows rows = UnloadAndReadRows();
    const auto second =
        std::find(rows.rbegin(), rows.rend(), "Information: Alle API-Resourcen wurden neu erstellt");
    ASSERT_NE(second, rows.rend());
    EXPECT_EQ(
        (second + 1)->rfind("Fehler: Die Texture mit der ID: 2 konnte nicht initialisiert werden # ", 0), 0u);
    EXPECT_NE((second + 1)->find(kTextures + "RecreateResources"), std::string::npos);
}

// A second start-up keeps the textures the managers hold: nothing is lost, nothing leaks.
TEST_F(TexturesTest, ASecondStartUpKeepsTheTextures) {
    ASSERT_EQ(Initialize(), 0);
    DeviceTexture(1, 0, 0, 16, 16, 2);
    const long alive = LiveObjectsOfThePlugin();
    ASSERT_EQ(Initialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), alive);
    EXPECT_EQ(Call("VTR3TexInitialize", Var(1)), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), alive);
    EXPECT_EQ(DeInitialize(), 0);
    EXPECT_EQ(LiveObjectsOfThePlugin(), 0);
    const Rows rows = UnloadAndReadRows();
    // Texture 1 was still there to initialise again, and the one it replaced was released.
    EXPECT_EQ(std::count(rows.begin(), rows.end(), Initialized(1)), 2);
}

} // namespace
