// The sky and the water against a recording device: their buffers byte for byte, their draw calls,
// the water's matrices, noise texture and effect, and every creation failing in turn.
#include "object_fixture.h"
#include "objects/vtr3_objectWater.h"

#include <cmath>
#include <limits>

namespace {

const int SKY = c_VTR3ObjectManager::SKY;
const int WATER = c_VTR3ObjectManager::WATER;
const std::string kIdentity = "[1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1]";

// Techniques with different pass counts, so the draws tell which one ran.
const char* const kWaterEffect = R"(
float4x4 matWorld; float4x4 matView; float4x4 matProjection; float4x4 matWorldView;
float4x4 matWorldViewProjection; float4x4 matTextureRefraction; float4x4 matTextureReflection;
float4x4 matBumpWave; float4 vecSkill1; float4 vecSkill2; float4 vecSkill3; float4 vecSkill4; float4 vecSkill5;
texture entTex0; texture entTex1; texture entTex2;
sampler noise = sampler_state { Texture = <entTex2>; };
float4 Transform(float3 p : POSITION) : POSITION {
    return mul(mul(float4(p, 1), matWorldViewProjection), matBumpWave + matTextureRefraction + matTextureReflection);
}
float4 Shade() : COLOR { return tex2D(noise, float2(0.5, 0.5)) + vecSkill1 + vecSkill5; }
technique Refract { pass P0 { VertexShader = compile vs_2_0 Transform(); PixelShader = compile ps_2_0 Shade(); } }
technique ReflectAndRefract {
    pass P0 { VertexShader = compile vs_2_0 Transform(); PixelShader = compile ps_2_0 Shade(); }
    pass P1 { VertexShader = compile vs_2_0 Transform(); PixelShader = compile ps_2_0 Shade(); }
}
technique Other { pass P0 { VertexShader = compile vs_2_0 Transform(); PixelShader = compile ps_2_0 Shade(); } }
)";

std::vector<uint32_t> MatrixBits(const D3DXMATRIX& m) {
    std::vector<uint32_t> bits(16);
    memcpy(bits.data(), &m._11, 64);
    return bits;
}

D3DXMATRIX EffectMatrix(const char* name) {
    D3DXMATRIX m;
    EXPECT_EQ(g_effectManager.GetEffect(7)->GetMatrix(name, &m), D3D_OK) << name;
    return m;
}

// The noise texels the runtime's generator gives from its start state 1: each output r as
// r * 255 / 32767, 255 wrapping to 0.
std::vector<int> NoiseFromStateOne(size_t count) {
    std::vector<int> values;
    uint32_t state = 1;
    for (size_t i = 0; i < count; ++i) {
        state = state * 214013u + 2531011u;
        values.push_back(static_cast<int>((state >> 16) & 0x7fff) * 255 / 32767 % 255);
    }
    return values;
}

TEST_F(ObjectTest, SkyBuildsItsBoxAndDrawsItAtTheViewersPositionInGroupZero) {
    engine_.camera().word[a6::kViewX] = 1024000; // engine x 1000
    engine_.camera().word[a6::kViewY] = 2048000; // engine y 2000
    const Calls creation = {"CreateVertexBuffer(192, 0, 65794, MANAGED)",
                            "CreateIndexBuffer(72, 0, 101, MANAGED)"};
    Make(1, SKY, {100.0f, 50.0f});
    EXPECT_EQ(device_->TakeCalls(), creation);
    // Released, the box is not drawn; after the device's reset it is built again and drawn.
    objects_.ReleaseResources();
    objects_.RenderObject(1);
    EXPECT_EQ(TakeDraws(), 0);
    objects_.RecreateResources();
    EXPECT_EQ(device_->TakeCalls(), creation);

    objects_.RenderObject(1);
    EXPECT_EQ(
        device_->TakeCalls(),
        (Calls{"SetRenderState(LIGHTING, 0)", "SetTransform(256, [1 0 0 0 0 1 0 0 0 0 1 0 1000 50 2000 1])",
               "SetStreamSource(0, object, 0, 24)", "SetIndices(object)", "SetFVF(65794)",
               "DrawIndexedPrimitive(4, 0, 0, 8, 0, 12)", "SetFVF(0)", "SetTransform(256, " + kIdentity + ")",
               "SetRenderState(LIGHTING, 1)"}));
    EXPECT_EQ(StreamBytes(), BytesOf<float>({-50, -50, 50,  -50, -50, 50,  -50, 50, 50,  -50, 50, 50,  //
                                             50,  -50, 50,  50,  -50, 50,  50,  50, 50,  50,  50, 50,  //
                                             50,  -50, -50, 50,  -50, -50, 50,  50, -50, 50,  50, -50, //
                                             -50, -50, -50, -50, -50, -50, -50, 50, -50, -50, 50, -50}));
    EXPECT_EQ(IndexBytes(), BytesOf<uint16_t>({0, 1, 2, 1, 3, 2, 2, 3, 4, 3, 5, 4, 4, 5, 6, 5, 7, 6,
                                               6, 7, 0, 7, 1, 0, 1, 7, 3, 7, 5, 3, 6, 0, 4, 0, 2, 4}));

    // Hidden by flag 0, the box still follows the view.
    objects_.SetFlag(1, 0, 1);
    engine_.camera().word[a6::kViewX] = -2048;
    objects_.RenderObject(1);
    EXPECT_TRUE(device_->TakeCalls().empty());
    EXPECT_EQ(objects_.FindObject(1)->GetPosition(), D3DXVECTOR3(-2.0f, 50.0f, 2000.0f));

    // Group 0 draws every sky that flag 0 does not hide (only exactly 1 hides), and only skies.
    Make(2, WATER, {10.0f, 1.0f, 4.0f});
    Make(3, SKY, {10.0f});
    objects_.SetFlag(3, 0, 2);
    device_->TakeCalls();
    objects_.RenderObjects(0);
    EXPECT_EQ(TakeDraws(), 1);
    objects_.RenderObjects(5);
    EXPECT_TRUE(device_->TakeCalls().empty());
}

TEST_F(ObjectTest, WaterBuildsItsSquareMatricesAndNoise) {
    auto* water = static_cast<c_VTR3ObjectWater*>(Make(2, WATER, {200.0f, 4.0f, 16.9f}));
    EXPECT_EQ(device_->TakeCalls(),
              (Calls{"CreateVertexBuffer(80, 0, 258, MANAGED)", "CreateIndexBuffer(12, 0, 101, MANAGED)",
                     "CreateTexture(16, 16, 1, 512, 60, DEFAULT)"}));

    // V then U from the generator, wherever in its sequence this process has got to.
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(water->GetNoiseTexture()->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    std::vector<int> texels;
    for (int y = 0; y < 16; ++y) {
        const BYTE* row = static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch;
        for (int x = 0; x < 16; ++x) {
            texels.push_back(row[2 * x + 1]); // V, drawn first
            texels.push_back(row[2 * x]);     // U
        }
    }
    water->GetNoiseTexture()->UnlockRect(0);
    const std::vector<int> expected = NoiseFromStateOne(1 << 16);
    const auto found = std::search(expected.begin(), expected.end(), texels.begin(), texels.end());
    EXPECT_NE(found, expected.end());
    // Run on its own (as CTest runs each test), this water is the generator's first user: state 1.
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    if (::testing::GTEST_FLAG(filter) == std::string(test->test_suite_name()) + "." + test->name()) {
        EXPECT_EQ(found, expected.begin());
    }

    // Drawn with the effect: geometry, and the matrices bit for bit.
    MakeEffect(7, kWaterEffect);
    objects_.SetEffect(2, 7);
    engine_.SetClock(0);
    objects_.RenderObject(2);
    EXPECT_EQ(StreamBytes(), BytesOf<float>({-100, 0, -100, 0, 4, -100, 0, 100, 0, 0, //
                                             100,  0, -100, 4, 4, 100,  0, 100, 4, 0}));
    EXPECT_EQ(IndexBytes(), BytesOf<uint16_t>({0, 1, 2, 1, 3, 2}));
    const struct {
        const char* name;
        std::vector<uint32_t> bits;
    } matrices[] = {
        {"matTextureReflection",
         {0x3F570A3D, 0, 0, 0, 0, 0x3F68F5C3, 0, 0, //
          0x3F000000, 0xBF000000, 0x3F800000, 0, 0, 0, 0, 0x3F800000}},
        {"matTextureRefraction",
         {0xBF570A3D, 0, 0, 0, 0, 0x3F68F5C3, 0, 0, //
          0x3F000000, 0xBF000000, 0xBF800000, 0, 0, 0, 0, 0x3F800000}},
        {"matBumpWave",
         {Bits(0.03f), 0x80000000, 0, 0, 0, Bits(0.03f), 0, 0, //
          0, 0, 0x3F800000, 0, 0, 0, 0, 0x3F800000}},
    };
    for (const auto& matrix : matrices) {
        EXPECT_EQ(MatrixBits(EffectMatrix(matrix.name)), matrix.bits) << matrix.name;
    }
    engine_.SetClock(1000); // 9 radians
    objects_.RenderObject(2);
    const D3DXMATRIX m = EffectMatrix("matBumpWave");
    EXPECT_NEAR(m._11, -0.0273339f, 5e-8f);
    EXPECT_NEAR(m._21, 0.0123636f, 5e-8f);
    EXPECT_EQ(Bits(m._11), Bits(m._22));
    EXPECT_EQ(Bits(m._12), Bits(-m._21));
}

TEST_F(ObjectTest, WaterTechniqueFollowsFlagOneAndEntTex2IsAlwaysTheNoise) {
    auto* water = static_cast<c_VTR3ObjectWater*>(Make(2, WATER, {10.0f, 1.0f, 8.0f}));
    MakeEffect(7, kWaterEffect);
    MakeTexture(9);
    // Without effect or technique nothing is drawn: effect 0 draws fixed-function until the effect
    // lookup; 8 is looked up by both steps; 6 lacks the techniques.
    MakeEffect(6, "float4 Shade() : COLOR { return 1; }\n"
                  "technique Other { pass P0 { PixelShader = compile ps_2_0 Shade(); } }\n");
    TakeRows();
    const std::string kNotFound = " wurde nicht gefunden. Funktion wird abgebrochen @ vtr3_effects "
                                  "c_VTR3EffectManager::GetEffect";
    const struct {
        int effect;
        Rows rows;
    } refusals[] = {{0, {"Fehler: Das Objekt mit der ID: 0" + kNotFound}},
                    {8, Rows(2, "Fehler: Das Objekt mit der ID: 8" + kNotFound)},
                    {6, {}}};
    for (const auto& c : refusals) {
        objects_.SetEffect(2, c.effect);
        device_->TakeCalls();
        objects_.RenderObject(2);
        const Calls calls = device_->TakeCalls();
        EXPECT_EQ(std::count_if(calls.begin(), calls.end(), IsDraw), 0) << c.effect;
        EXPECT_EQ(calls.back(), "SetRenderState(LIGHTING, 1)") << c.effect;
        EXPECT_EQ(TakeRows(), c.rows) << c.effect;
    }
    objects_.SetEffect(2, 7);
    objects_.SetTexture(2, 2, 9);
    objects_.SetTexture(2, 0, 9);
    objects_.SetPosition(2, 1.0f, 2.0f, 3.0f);
    D3DXMATRIX view, projection;
    const D3DXVECTOR3 eye(5, 6, -7), at(0, 0, 0), up(0, 1, 0);
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    D3DXMatrixPerspectiveFovLH(&projection, 1.0f, 1.5f, 0.5f, 100.0f);
    memcpy(engine_.viewMatrix(), &view, 64);
    memcpy(engine_.projectionMatrix(), &projection, 64);
    for (int skill = 3; skill < 20; ++skill) {
        objects_.SetSkill(2, skill, skill + 0.5f);
    }
    device_->TakeCalls();
    const struct { int flag, draws; } cases[] = {{1, 1}, {0, 2}, {2, 2}, {-1, 2}};
    for (const auto& c : cases) {
        objects_.SetFlag(2, 1, c.flag);
        objects_.RenderObject(2);
        EXPECT_EQ(TakeDraws(), c.draws) << c.flag;
    }
    const std::pair<const char*, IDirect3DBaseTexture9*> textures[] = {
        {"entTex2", water->GetNoiseTexture()}, {"entTex0", g_textureManager.GetBaseTexture(9)}};
    for (const auto& [name, expected] : textures) {
        IDirect3DBaseTexture9* texture = nullptr;
        g_effectManager.GetEffect(7)->GetTexture(name, &texture);
        EXPECT_EQ(texture, expected) << name;
        if (texture) {
            texture->Release();
        }
    }
    // The skills four by four: 10, 1 and 8 built the water, the others are the skill's index + 0.5.
    for (int n = 0; n < 5; ++n) {
        D3DXVECTOR4 skills;
        ASSERT_EQ(
            g_effectManager.GetEffect(7)->GetVector(("vecSkill" + std::to_string(n + 1)).c_str(), &skills),
            D3D_OK);
        EXPECT_EQ(skills, n == 0 ? D3DXVECTOR4(10, 1, 8, 3.5f)
                                 : D3DXVECTOR4(4 * n + 0.5f, 4 * n + 1.5f, 4 * n + 2.5f, 4 * n + 3.5f))
            << n;
    }
    EXPECT_EQ(MatrixBits(EffectMatrix("matView")), MatrixBits(view));
    EXPECT_EQ(MatrixBits(EffectMatrix("matProjection")), MatrixBits(projection));
    D3DXMATRIX expected;
    const D3DXMATRIX world = EffectMatrix("matWorld");
    EXPECT_EQ(MatrixBits(world), MatrixBits(water->GetWorldMatrix()));
    D3DXMatrixMultiply(&expected, &world, &view);
    EXPECT_EQ(MatrixBits(EffectMatrix("matWorldView")), MatrixBits(expected));
    D3DXMatrixMultiply(&expected, &expected, &projection);
    EXPECT_EQ(MatrixBits(EffectMatrix("matWorldViewProjection")), MatrixBits(expected));
}

TEST_F(ObjectTest, WaterNoiseSizeComesOnlyFromARepresentableSkill) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float skill;
        const char* call;
        bool refused;
    } cases[] = {
        {128.9f, "CreateTexture(128, 128, 1, 512, 60, DEFAULT)", false},
        {-5.0f, "CreateTexture(0, 0, 1, 512, 60, DEFAULT)", true},
        {nan, "CreateTexture(0, 0, 1, 512, 60, DEFAULT)", true},
        {1e20f, "CreateTexture(0, 0, 1, 512, 60, DEFAULT)", true},
        {1e9f, "CreateTexture(1000000000, 1000000000, 1, 512, 60, DEFAULT)", true},
    };
    int id = 10;
    for (const auto& c : cases) {
        Make(id, WATER, {1.0f, 1.0f, c.skill});
        EXPECT_EQ(device_->TakeCalls().back(), c.call);
        const Rows rows = TakeRows();
        EXPECT_EQ(objects_.FindObject(id)->IsInitialized(), c.refused ? 0 : 1) << c.call;
        EXPECT_EQ(rows.size(), c.refused ? 3u : 2u) << c.call;
        if (c.refused) {
            EXPECT_EQ(rows[1].rfind(
                          "Fehler: Fehler beim erstellen einer spezialisierten Objekttextur # D3DERR_", 0),
                      0u)
                << rows[1];
        }
        ++id;
    }
}

// Each creation failing in turn: its row, the object left uninitialised, nothing left alive.
TEST_F(ObjectTest, EachCreationFailingLeavesNothingBehind) {
    const std::string kSky = " @ vtr3_objectSky c_VTR3ObjectSky::Initialize";
    const std::string kWater = " @ vtr3_objectWater c_VTR3ObjectWater::Initialize";
    const struct {
        int type;
        const char* method;
        std::string row;
    } cases[] = {
        {SKY, "CreateVertexBuffer",
         "Der Vertexbuffer eines Skyobjektes konnte nicht erstellt werden." + kSky},
        {SKY, "CreateIndexBuffer", "Der Indexbuffer eines Skyobjects konnte nicht erstellt werden." + kSky},
        {WATER, "CreateVertexBuffer", "Fehler beim erstellen eines Vertexbuffers" + kWater},
        {WATER, "CreateIndexBuffer", "Fehler beim erstellen eines Indexbuffers" + kWater},
        {WATER, "CreateTexture", "Fehler beim erstellen einer spezialisierten Objekttextur" + kWater},
    };
    int id = 20;
    for (const auto& c : cases) {
        device_->Fail(c.method, D3DERR_OUTOFVIDEOMEMORY);
        Make(id, static_cast<unsigned int>(c.type), {10.0f, 1.0f, 4.0f});
        device_->Fail(c.method, D3D_OK);
        const std::string row = c.row;
        const size_t at = row.find(" @ ");
        EXPECT_EQ(
            TakeRows(),
            (Rows{"Information: Das Objekt mit der ID: " + std::to_string(id) + " wurde erfolgreich erstellt",
                  "Fehler: " + row.substr(0, at) + " # D3DERR_OUTOFVIDEOMEMORY" + row.substr(at),
                  "Information: Das Objekt mit der ID: " + std::to_string(id) +
                      " wurde erfolgreich initialisiert"}));
        EXPECT_EQ(objects_.FindObject(id)->IsInitialized(), 0);
        EXPECT_EQ(platform::LiveObjectCount(), baseline_) << c.method;
        ++id;
    }
    // A device reset before initialisation builds nothing that could not be released.
    Make(30, SKY, {10.0f}, false);
    objects_.RecreateResources();
    EXPECT_EQ(platform::LiveObjectCount(), baseline_);
    // A water whose rebuild fails keeps nothing either, and comes back with the next reset.
    Make(31, WATER, {10.0f, 1.0f, 4.0f});
    objects_.ReleaseResources();
    device_->Fail("CreateTexture", D3DERR_OUTOFVIDEOMEMORY);
    objects_.RecreateResources();
    EXPECT_EQ(platform::LiveObjectCount(), baseline_);
    device_->Fail("CreateTexture", D3D_OK);
    objects_.RecreateResources();
    EXPECT_NE(static_cast<c_VTR3ObjectWater*>(objects_.FindObject(31))->GetNoiseTexture(), nullptr);
}

} // namespace
