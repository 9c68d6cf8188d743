// The texture manager and its exports against a device that records its calls: each creation's exact
// call, the rows of every refusal and failure, view bindings, surfaces and the release and re-creation
// passes.
#include "resources/vtr3_textures.h"

#include "engine.h"
#include "fake_d3dx.h"
#include "frame/vtr3_exports.h"
#include "manager_fixture.h"
#include <d3dx9.h>
#include "platform_control.h"
#include "recording_device.h"

#include <string>
#include <utility>

namespace {

using Rows = std::vector<std::string>;

const std::string kAt = " @ vtr3_textures c_VTR3TextureManager::";

std::string DirectXRow(const std::string& text, int id, const std::string& result,
                       const std::string& method) {
    return "Fehler: " + text + " mit der ID: " + std::to_string(id) +
           " konnte nicht initialisiert werden # " + result + kAt + method;
}

class TextureManagerTest : public ManagerLogTest {
  protected:
    TextureManagerTest() {
        engine_.CreateGraphics(64, 64, "textures");
        device_ = new RecordingDevice(engine_.device());
        g_device = device_;
        fake_d3dx::g_calls = &device_->calls();
        fake_d3dx::g_device = engine_.device();
        fake_d3dx::g_result = D3D_OK;
        textures_.Initialize();
        TakeRows();
        baseline_ = platform::LiveObjectCount();
    }
    ~TextureManagerTest() override {
        if (textures_.IsInitialized()) {
            textures_.DeInitialize();
        }
        EXPECT_EQ(platform::LiveObjectCount(), baseline_);
        fake_d3dx::g_calls = nullptr;
        fake_d3dx::g_device = nullptr;
        g_device = nullptr;
        device_->Release();
    }

    // A record without path: a render target (usage 0) or depth-stencil texture (usage 1).
    void MakeDeviceTexture(int id, int type, int usage, unsigned int width, unsigned int height,
                           D3DFORMAT format) {
        textures_.TextureCreate(id, type);
        textures_.SetUsage(id, usage);
        textures_.SetSize(id, width, height);
        textures_.SetFormat(id, format);
        textures_.TextureInitialize(id);
    }
    void MakeFileTexture(int id, int type, const char* path) {
        textures_.TextureCreate(id, type);
        textures_.SetPath(id, path);
        textures_.TextureInitialize(id);
    }

    host::Engine engine_;
    RecordingDevice* device_;
    c_VTR3TextureManager textures_;
    std::size_t baseline_ = 0;
};

TEST_F(TextureManagerTest, FilesAreLoadedByTypeWithTheLibraryDefaultsAndRefusalsLeaveNoTexture) {
    MakeFileTexture(1, 0, "flat.png");
    MakeFileTexture(2, 1, "sky.dds");
    MakeFileTexture(3, 2, "fog.dds");
    // A path wins over usage, size and format.
    textures_.TextureCreate(4, 0);
    textures_.SetUsage(4, 0);
    textures_.SetSize(4, 32, 32);
    textures_.SetPath(4, "again.jpg");
    textures_.TextureInitialize(4);
    const std::string defaults = "DEFAULT, 0, 0, MANAGED, DEFAULT, DEFAULT, 0, NULL, NULL)";
    EXPECT_EQ(device_->TakeCalls(),
              (Rows{"D3DXCreateTextureFromFileExA(flat.png, DEFAULT, DEFAULT, " + defaults,
                    "D3DXCreateCubeTextureFromFileExA(sky.dds, DEFAULT, " + defaults,
                    "D3DXCreateVolumeTextureFromFileExA(fog.dds, DEFAULT, DEFAULT, DEFAULT, " + defaults,
                    "D3DXCreateTextureFromFileExA(again.jpg, DEFAULT, DEFAULT, " + defaults}));
    // Each typed getter answers only for a texture of its own kind.
    for (int id = 1; id <= 3; ++id) {
        EXPECT_EQ(textures_.GetTexture(id) != nullptr, id == 1) << id;
        EXPECT_EQ(textures_.GetCubeTexture(id) != nullptr, id == 2) << id;
        EXPECT_EQ(textures_.GetVolumeTexture(id) != nullptr, id == 3) << id;
    }

    TakeRows();

    // Refused, a creation leaves no texture; sizes reach the device as given.
    fake_d3dx::g_result = D3DXERR_INVALIDDATA;
    MakeFileTexture(5, 0, "broken.png");
    EXPECT_EQ(textures_.GetBaseTexture(5), nullptr);
    MakeDeviceTexture(6, 0, 0, 64, 64, D3DFMT_X8R8G8B8);
    device_->Fail("CreateTexture", D3DERR_INVALIDCALL);
    textures_.SetSize(6, static_cast<unsigned int>(-4), 100000);
    textures_.TextureInitialize(6);
    EXPECT_EQ(textures_.GetBaseTexture(6), nullptr);
    device_->Fail("CreateCubeTexture", D3DERR_OUTOFVIDEOMEMORY);
    MakeDeviceTexture(7, 1, 0, 128, 128, D3DFMT_R32F);
    EXPECT_EQ(textures_.GetBaseTexture(7), nullptr);
    EXPECT_EQ(device_->TakeCalls(),
              (Rows{"D3DXCreateTextureFromFileExA(broken.png, DEFAULT, DEFAULT, " + defaults,
                    "CreateTexture(64, 64, 1, RENDERTARGET, 22, DEFAULT)",
                    "CreateTexture(4294967292, 100000, 1, RENDERTARGET, 22, DEFAULT)",
                    "CreateCubeTexture(128, 1, RENDERTARGET, 114, DEFAULT)"}));
    const Rows rows = TakeRows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[1], DirectXRow("Die Texture", 5, "D3DXERR_INVALIDDATA", "TextureInitialize"));
    EXPECT_EQ(rows[4], DirectXRow("Die Textur", 6, "D3DERR_INVALIDCALL", "TextureInitialize"));
    EXPECT_EQ(rows[6], DirectXRow("Die Textur", 7, "D3DERR_OUTOFVIDEOMEMORY", "TextureInitialize"));
}

TEST_F(TextureManagerTest, TypesAndUsagesThatCannotBeMadeAreRefused) {
    struct Case {
        int type, usage;
        const char* path;
        const char* row;
    };
    const std::string kType = "Fehler: Ung\xfcltiger Texturtyp" + kAt + "TextureInitialize";
    const std::string kUsage = "Fehler: Ung\xfcltiger Usagetyp" + kAt + "TextureInitialize";
    const Case cases[] = {
        {3, 2, "file.png", "type"}, {-1, 2, "file.png", "type"}, {2, 0, "", "type"},  {3, 0, "", "type"},
        {1, 1, "", "type"},         {2, 1, "", "type"},          {0, 2, "", "usage"}, {1, 7, "", "usage"},
    };
    int id = 100;
    for (const Case& c : cases) {
        textures_.TextureCreate(id, c.type);
        textures_.SetPath(id, c.path);
        textures_.SetSize(id, 16, 16);
        if (c.usage != 2) {
            textures_.SetUsage(id, c.usage);
        }
        TakeRows();
        textures_.TextureInitialize(id);
        EXPECT_EQ(TakeRows(), Rows{std::string(c.row) == "type" ? kType : kUsage}) << id;
        EXPECT_EQ(textures_.GetBaseTexture(id), nullptr);
        ++id;
    }
    EXPECT_TRUE(device_->TakeCalls().empty());
}

// Released, nothing is left; re-created, the textures come back in table order with their creation
// arguments, until a file fails to load: those after it wait for the next reset.
TEST_F(TextureManagerTest, ReleaseAndRecreateRebuildUntilAFileFails) {
    MakeDeviceTexture(1, 0, 0, 64, 32, D3DFMT_A16B16G16R16F);
    MakeFileTexture(2, 0, "first.png");
    MakeDeviceTexture(3, 1, 0, 16, 0, D3DFMT_X8R8G8B8);
    MakeDeviceTexture(4, 0, 1, 64, 32, D3DFMT_D32);
    const std::size_t alive = platform::LiveObjectCount();
    const Rows created = device_->TakeCalls();
    textures_.ReleaseResources();
    EXPECT_EQ(platform::LiveObjectCount(), baseline_);
    textures_.RecreateResources();
    EXPECT_EQ(platform::LiveObjectCount(), alive);
    EXPECT_EQ(device_->TakeCalls(), created);
    textures_.ReleaseResources();
    fake_d3dx::g_result = D3DXERR_INVALIDDATA;
    textures_.RecreateResources();
    EXPECT_EQ(device_->TakeCalls(), Rows(created.begin(), created.begin() + 2));
    EXPECT_EQ(TakeRows().back(), DirectXRow("Die Texture", 2, "D3DXERR_INVALIDDATA", "RecreateResources"));
}

// The exports turn the script's kinds, usages, formats 0 to 10 and sides into the manager's values and
// refuse other numbers with 1, changing nothing.
TEST_F(TextureManagerTest, ExportsConvertTheScriptsNumbersAndRefuseOthers) {
    g_textureManager.Initialize();
    const int formats[] = {20, 22, 21, 60, 117, 111, 112, 113, 63, 114, 71};
    Rows expected;
    for (int code = 0; code <= 10; ++code) {
        for (int usage = 0; usage < 2; ++usage) {
            const var id = a6::VarFromInt(10 + 2 * code + usage);
            EXPECT_EQ(VTR3TexCreate(id, 0), 0);
            EXPECT_EQ(VTR3TexSetUsage(id, a6::VarFromInt(usage)), 0);
            EXPECT_EQ(VTR3TexSetSize(id, a6::VarFromInt(16), a6::VarFromInt(8)), 0);
            EXPECT_EQ(VTR3TexSetFormat(id, a6::VarFromInt(code)), 0);
            VTR3TexInitialize(id);
            expected.push_back("CreateTexture(16, 8, 1, " +
                               std::string(usage ? "DEPTHSTENCIL" : "RENDERTARGET") + ", " +
                               std::to_string(formats[code]) + ", DEFAULT)");
        }
    }
    const var cube = a6::VarFromInt(50), one = a6::VarFromInt(1);
    VTR3TexCreate(cube, one);
    VTR3TexSetUsage(cube, 0);
    VTR3TexSetFormat(cube, a6::VarFromInt(2));
    VTR3TexSetSize(cube, a6::VarFromInt(32), 0);
    VTR3TexInitialize(cube);
    expected.push_back("CreateCubeTexture(32, 1, RENDERTARGET, 21, DEFAULT)");
    EXPECT_EQ(device_->TakeCalls(), expected);
    const struct {
        var result;
        const char* call;
    } refusals[] = {
        {VTR3TexCreate(a6::VarFromInt(60), a6::VarFromInt(3)), "create 3"},
        {VTR3TexCreate(a6::VarFromInt(60), a6::VarFromInt(-1)), "create -1"},
        {VTR3TexSetFormat(cube, a6::VarFromInt(11)), "format 11"},
        {VTR3TexSetFormat(cube, a6::VarFromInt(-1)), "format -1"},
        {VTR3TexSetUsage(cube, a6::VarFromInt(2)), "usage 2"},
        {VTR3TexSetViewID(cube, a6::VarFromInt(6), one), "side 6"},
        {VTR3TexSetViewID(cube, a6::VarFromInt(-1), one), "side -1"},
    };
    for (const auto& refusal : refusals) {
        EXPECT_EQ(refusal.result, one) << refusal.call;
    }
    EXPECT_EQ(g_textureManager.GetType(60), 3);
    EXPECT_EQ(VTR3TexSetViewID(cube, a6::VarFromInt(5), one), 0);
    EXPECT_EQ(g_textureManager.GetTextureID(1), 50);
    g_textureManager.DeInitialize();
}

TEST_F(TextureManagerTest, ViewsFindTheirTextureAndCubeFace) {
    MakeFileTexture(1, 0, "file.png"); // file textures never match a view
    MakeDeviceTexture(2, 1, 0, 64, 64, D3DFMT_A8R8G8B8);
    for (unsigned int face = 0; face < 6; ++face) {
        textures_.SetViewID(2, face, 11 + static_cast<int>(face));
    }
    textures_.SetViewID(2, 6, 99);
    MakeDeviceTexture(3, 0, 0, 64, 64, D3DFMT_A8R8G8B8);
    MakeDeviceTexture(4, 0, 0, 64, 64, D3DFMT_A8R8G8B8);
    textures_.SetViewID(3, 0, 20);
    textures_.SetViewID(4, 0, 20);
    textures_.SetViewID(1, 0, 20);
    device_->TakeCalls();

    EXPECT_EQ(textures_.GetTextureID(13), 2);
    EXPECT_EQ(textures_.GetTextureID(20), 3);
    EXPECT_EQ(textures_.GetTextureID(99), 0);
    EXPECT_EQ(textures_.GetTextureID(0), 3); // the first render target with a face entry still 0
    EXPECT_EQ(textures_.GetCubeTextureSide(2, 13), 2u);
    EXPECT_EQ(textures_.GetCubeTextureSide(2, 99), 6u);

    // Each surface is the texture's own for that face (engine order +Z -Z +X -X +Y -Y) or level, with
    // one reference for the caller.
    const std::pair<unsigned int, D3DCUBEMAP_FACES> faces[] = {
        {2, D3DCUBEMAP_FACE_POSITIVE_X},
        {4, D3DCUBEMAP_FACE_POSITIVE_Y},
        {0, D3DCUBEMAP_FACE_POSITIVE_Z},
        {6, D3DCUBEMAP_FACES(-1)}}; // texture 3's level
    for (const auto& [face, direct3dFace] : faces) {
        const bool cube = face < 6;
        IDirect3DSurface9* surface = cube ? textures_.GetCubeSurface(2, face, 0) : textures_.GetSurface(3, 0);
        IDirect3DSurface9* own = nullptr;
        ASSERT_EQ(cube ? textures_.GetCubeTexture(2)->GetCubeMapSurface(direct3dFace, 0, &own)
                       : textures_.GetTexture(3)->GetSurfaceLevel(0, &own),
                  D3D_OK);
        EXPECT_EQ(surface, own) << face;
        own->Release();
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surface->Release(), 1u); // the manager's reference on the texture is left
    }
    EXPECT_EQ(textures_.GetCubeSurface(2, 6, 0), nullptr);
    EXPECT_EQ(textures_.GetSurface(2, 0), nullptr); // a cube texture has no 2D surface
    EXPECT_TRUE(device_->TakeCalls().empty());
}

TEST_F(TextureManagerTest, UnknownIdentifiersAndCallsOutsideTheLifeCycle) {
    const std::string notFound =
        "Fehler: Das Objekt mit der ID: 9 wurde nicht gefunde. Die Funktion wird beendet";
    textures_.TextureCreate(1, 0);
    textures_.TextureCreate(1, 1);
    EXPECT_EQ(textures_.GetType(1), 0);
    EXPECT_EQ(textures_.GetType(9), 3);
    EXPECT_EQ(textures_.GetCubeTextureSide(9, 0), 6u);
    textures_.TextureDelete(1);
    textures_.TextureDelete(1);
    EXPECT_EQ(
        TakeRows(),
        (Rows{"Information: Die Textur mit der ID: 1 wurde erfolgreich erstellt",
              "Warnung: Das zu erstellende Objekt mit der ID: 1 existiert bereits. Die Aufgerufene Funktion "
              "wird beendet" +
                  kAt + "TextureCreate",
              notFound + kAt + "GetType", notFound + kAt + "GetCubeTextureSide",
              "Information: Die Texutr mit der ID: 1 wurde erfolgreich gel\xf6scht",
              "Fehler: Das Objekt mit der ID: 1 wurde nicht gefunde. Die Funktion wird beendet" + kAt +
                  "TextureDelete"}));

    textures_.DeInitialize();
    TakeRows();
    textures_.TextureCreate(1, 0);
    EXPECT_EQ(textures_.GetType(1), 3);
    EXPECT_EQ(textures_.GetTextureID(0), 0);
    textures_.RecreateResources();
    const std::string refused =
        "Fehler: Der Texturmanager ist nicht initialisiert. Die Aufgerufene Funktion wird abgerochen" + kAt;
    EXPECT_EQ(TakeRows(), (Rows{refused + "TextureCreate", refused + "GetType", refused + "GetTextureID",
                                refused + "RecreateResources"}));
}

} // namespace
