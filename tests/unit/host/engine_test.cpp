// The stand-in engine as the plug-in sees it: vars and engine strings, the interface block's words,
// the window and device it creates, the object lookup, the resolver with the engine functions behind
// its table, and the script caller.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine.h"
#include "engine_names.h"
#include "engine_string.h"
#include "engine_view.h"
#include "frame/a6_engine.h"
#include "frame/a6_engine_names.h"
#include "host_error.h"
#include "platform_control.h"

namespace {

using Arguments = std::array<intptr_t, 4>;
Arguments g_arguments;

var Record(intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    g_arguments = {a, b, c, d};
    return a6::VarFromInt(42);
}

class EngineBlock : public ::testing::Test {
  protected:
    // The field at byte offset k of the engine's 32-bit block is pointer-sized word k / 4.
    uintptr_t Word(std::size_t offset) const { return engine_.block()->word[offset / 4]; }
    std::vector<uintptr_t> Words(std::vector<std::size_t> offsets) const {
        for (std::size_t& offset : offsets) {
            offset = Word(offset);
        }
        return {offsets.begin(), offsets.end()};
    }
    template <typename... T> static std::vector<uintptr_t> Addresses(T... pointers) {
        return {reinterpret_cast<uintptr_t>(pointers)...};
    }
    template <typename T> T* Pointer(std::size_t offset) const { return reinterpret_cast<T*>(Word(offset)); }
    // The lookup and the resolver through the block, as the plug-in calls them.
    a6::ObjectDescriptor* Lookup(const char* name) {
        return Pointer<a6::ObjectDescriptor*(const char*)>(0xa2c)(name);
    }
    void* Resolve(const char* name) { return Pointer<void*(const char*)>(0xa30)(name); }
    // An entry of the table as the plug-in would call it.
    template <typename Function> Function Entry(std::size_t entry) {
        return reinterpret_cast<Function>(Resolve(a6::kEngineFunctionNames[entry]));
    }

    host::Engine engine_;
};

TEST_F(EngineBlock, VarsHaveTenFractionBitsAndStringsPointAtTheTextTheHostOwns) {
    EXPECT_DOUBLE_EQ(a6::VarToDouble(-512), -0.5);
    EXPECT_EQ(a6::VarToInt(-512), -1); // an arithmetic shift, not a truncation toward 0
    EXPECT_DOUBLE_EQ(a6::VarToDouble(1536), 1.5);
    EXPECT_EQ(a6::VarToInt(1536), 1);
    EXPECT_EQ(a6::VarFromInt(-3), -3072);
    EXPECT_EQ(a6::VarFromDouble(-0.5), -512);
    EXPECT_EQ(a6::VarFromDouble(6.31), 6461); // the nearest var, on either side of 0
    EXPECT_EQ(a6::VarFromDouble(-6.31), -6461);

    host::EngineString string("Vantor 3.0 Runner");
    EXPECT_EQ(reinterpret_cast<const char*>(reinterpret_cast<const intptr_t*>(string.record())[3]),
              string.text().c_str()); // word 3
    EXPECT_STREQ(a6::StringText(string.record()), "Vantor 3.0 Runner");
    EXPECT_EQ(a6::StringText(nullptr), nullptr);
}

TEST_F(EngineBlock, HoldsTheEngineFieldsAtTheirWordsAndFollowsThem) {
    EXPECT_EQ(*Pointer<const var>(0x000), a6::VarFromDouble(host::Engine::kDefaultVersion));
    EXPECT_EQ(*Pointer<const var>(0x004), a6::VarFromInt(host::Engine::kDefaultEdition));
    // No mesh, window, IDirect3D9 or device until the engine creates them.
    EXPECT_EQ(Words({0x920, 0xa04, 0xa0c, 0xa10, 0xa2c, 0xa30, 0xa3c, 0x950, 0xa98, 0xa9c, 0xaa0}),
              Addresses(&engine_.camera(), engine_.viewMatrix(), engine_.projectionMatrix(),
                        engine_.worldMatrix(), &host::LookUpObject, &host::ResolveEngineFunction,
                        &host::CallScript, nullptr, nullptr, nullptr, nullptr));

    // The fields follow what the engine sets; version and edition are the engine's variables.
    engine_.SetVersion(6461);
    engine_.SetEdition(2);
    EXPECT_EQ(Words({0x000}), Addresses(engine_.variables().FindVar("version")));
    EXPECT_EQ(*Pointer<const var>(0x000), 6461);
    EXPECT_EQ(*Pointer<const var>(0x004), 2);
    a6::View& other = engine_.objects().AddView("other");
    engine_.SetRenderedView(&other);
    int mesh = 0, fake = 0;
    engine_.SetMesh(&mesh);
    engine_.SetWindowField(reinterpret_cast<HWND>(&fake));
    engine_.SetDeviceField(reinterpret_cast<IDirect3DDevice9*>(&fake));
    EXPECT_EQ(Words({0x920, 0x950, 0xaa0, 0xa9c}), Addresses(&other, &mesh, &fake, &fake));
    EXPECT_EQ(engine_.window(), nullptr); // the engine's own stay as they were
    EXPECT_EQ(engine_.device(), nullptr);
}

TEST_F(EngineBlock, PutsWindowDirect3DAndDeviceIntoTheBlockAndSizesTheBackBuffer) {
    engine_.CreateGraphics(320, 240, "Acknex 6");
    ASSERT_NE(engine_.device(), nullptr);
    EXPECT_EQ(Pointer<HWND__>(0xaa0), engine_.window());
    EXPECT_EQ(Pointer<IDirect3D9>(0xa98), engine_.direct3d());
    // The plug-in's device is a wrapper whose reference count is the device's own.
    IDirect3DDevice9* handed = Pointer<IDirect3DDevice9>(0xa9c);
    EXPECT_EQ(handed, engine_.notingDevice());
    const ULONG count = engine_.device()->AddRef();
    EXPECT_EQ(handed->AddRef(), count + 1);
    void* same = nullptr;
    EXPECT_EQ(handed->QueryInterface(IID_IDirect3DDevice9, &same), S_OK);
    EXPECT_EQ(same, handed);
    EXPECT_EQ(handed->Release(), count + 1);
    EXPECT_EQ(handed->Release(), count);
    EXPECT_EQ(engine_.device()->Release(), count - 1);
    // While noting, a texture comes with a reference for the engine.
    engine_.notingDevice()->StartNoting();
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(handed->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    const std::vector<IDirect3DBaseTexture9*> noted = engine_.notingDevice()->TakeNoted();
    ASSERT_EQ(noted, std::vector<IDirect3DBaseTexture9*>{texture});
    EXPECT_EQ(texture->Release(), 1u);
    EXPECT_EQ(noted[0]->Release(), 0u);
    int width = 0, height = 0;
    ASSERT_TRUE(platform::GetStandInWindowSize(engine_.window(), &width, &height));
    EXPECT_EQ(width * 1000 + height, 320240);
    EXPECT_EQ(platform::GetStandInWindowTitle(engine_.window()), "Acknex 6");
    const a6::Vector& screen = *engine_.variables().Find("screen_size");
    EXPECT_EQ(screen.x, a6::VarFromInt(320));
    EXPECT_EQ(screen.y, a6::VarFromInt(240));
    // A window-sized back buffer with a depth-stencil surface.
    IDirect3DSurface9* surface = nullptr;
    D3DSURFACE_DESC back{}, depth{};
    ASSERT_EQ(engine_.device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
    surface->GetDesc(&back);
    surface->Release();
    ASSERT_EQ(engine_.device()->GetDepthStencilSurface(&surface), D3D_OK);
    surface->GetDesc(&depth);
    surface->Release();
    EXPECT_EQ(std::vector<UINT>({back.Width, back.Height, back.Format, depth.Format}),
              std::vector<UINT>({320, 240, D3DFMT_X8R8G8B8, D3DFMT_D24S8}));
    EXPECT_THROW(engine_.CreateGraphics(320, 240, "again"), host::Error);
}

TEST(Engine, IsOneAtATimeReleasesWhatItCreatedAndLeavesLookupsSafeWhenGone) {
    const std::size_t before = platform::LiveObjectCount();
    {
        host::Engine engine;
        EXPECT_EQ(host::Engine::Current(), &engine);
        EXPECT_THROW(host::Engine(), host::Error);
        EXPECT_EQ(host::Engine::Current(), &engine);
        engine.CreateGraphics(64, 64, "Acknex 6");
        EXPECT_GT(platform::LiveObjectCount(), before);
        engine.notingDevice()->StartNoting(); // what nobody took goes with the engine
        IDirect3DCubeTexture9* cube = nullptr;
        ASSERT_EQ(engine.notingDevice()->CreateCubeTexture(4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &cube,
                                                           nullptr),
                  D3D_OK);
        cube->Release();
    }
    EXPECT_EQ(platform::LiveObjectCount(), before);
    EXPECT_EQ(host::Engine::Current(), nullptr);
    EXPECT_EQ(host::LookUpObject("camera")->kind, 0);
    EXPECT_EQ(host::ResolveEngineFunction("camera"), nullptr);
    host::Engine engine;
    EXPECT_THROW(engine.CreateGraphics(0, 768, "Acknex 6"), host::Error);
    EXPECT_EQ(engine.device(), nullptr);
}

// Vectors are object pointers (kind 3), views (the camera from the start), strings and engine objects
// kind 9, all with the record in `alternative`; script functions kind 6 with the function in `value`.
// Unknown or missing names give kind 0 with null values.
TEST_F(EngineBlock, LooksUpEachKindOfObjectByName) {
    a6::Vector& point = engine_.objects().AddVector("clip_point", {1024, 2048, 3072});
    a6::View& view = engine_.objects().AddView("mirror");
    host::EngineString& string = engine_.objects().AddString("title", "Vantor");
    int entity = 0;
    engine_.objects().AddObject("player", &entity);
    engine_.objects().AddScript("on_frame", &Record);
    const struct {
        const char* name;
        int kind;
        const void* value;
        const void* alternative;
    } cases[] = {{"clip_point", a6::kKindObjectPointer, nullptr, &point},
                 {"mirror", a6::kKindEngineObject, nullptr, &view},
                 {"camera", a6::kKindEngineObject, nullptr, &engine_.camera()},
                 {"title", a6::kKindEngineObject, nullptr, string.record()},
                 {"player", a6::kKindEngineObject, nullptr, &entity},
                 {"on_frame", a6::kKindScript, reinterpret_cast<void*>(&Record), nullptr},
                 {"no_such_object", 0, nullptr, nullptr},
                 {"", 0, nullptr, nullptr},
                 {nullptr, 0, nullptr, nullptr}};
    for (const auto& c : cases) {
        a6::ObjectDescriptor* descriptor = Lookup(c.name);
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(descriptor->kind, c.kind) << c.name;
        EXPECT_EQ(descriptor->value, reinterpret_cast<intptr_t>(c.value)) << c.name;
        EXPECT_EQ(descriptor->alternative, reinterpret_cast<intptr_t>(c.alternative)) << c.name;
        descriptor->kind = a6::kKindScript; // a careless caller cannot poison the next answer
    }
    EXPECT_EQ(Lookup("no_such_object")->kind, 0);
    EXPECT_EQ(engine_.objects().Find("no_such_object"), nullptr);
    EXPECT_EQ(engine_.objects().FindVector("clip_point"), &point);
    EXPECT_EQ(engine_.camera().word[a6::kViewArc], a6::VarFromDouble(host::kDefaultViewArc));
}

TEST_F(EngineBlock, ResolvesTheTablesNamesVariablesAndTheCameraAndSetsTheClock) {
    for (const char* name : a6::kEngineFunctionNames) {
        EXPECT_NE(Resolve(name), nullptr) << name;
    }
    for (const char* name : {"no_such_function", "ENT_CREATE", "", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(Resolve(name), nullptr) << name;
    }
    EXPECT_EQ(Resolve("camera"), &engine_.camera());
    EXPECT_EQ(Resolve("version"), engine_.variables().FindVar("version"));
    EXPECT_EQ(Resolve("sky_color"), engine_.variables().Find("sky_color"));
    EXPECT_NE(Resolve("time_step"), Resolve("time_frame"));
    EXPECT_EQ(engine_.variables().Find("ent_create"), nullptr); // functions have no storage
    engine_.SetClock(2500);
    EXPECT_EQ(GetTickCount(), 2500u);
    EXPECT_EQ(*engine_.variables().FindVar("total_ticks"), a6::VarFromInt(40));
    EXPECT_EQ(*engine_.variables().FindVar("total_secs"), a6::VarFromDouble(2.5));
}

// engine_getobj, engine_getscript and engine_getfunc (the resolver itself) find objects, scripts and
// functions; the block's script caller, call_name4 and call_script4 pass four pointer-sized arguments
// (not cut to 32 bits) and return the result; what is no script is not called.
TEST_F(EngineBlock, FindsObjectsScriptsAndFunctionsAndCallsScriptsWithFourArguments) {
    engine_.objects().AddScript("record", &Record);
    a6::Vector& point = engine_.objects().AddVector("point");
    using Find = void* (*)(const char*);
    const Find getObj = Entry<Find>(a6::kEngineGetObjEntry),
               getScript = Entry<Find>(a6::kEngineGetScriptEntry),
               getFunc = Entry<Find>(a6::kEngineGetFuncEntry);
    void* const record = reinterpret_cast<void*>(&Record);
    EXPECT_EQ((std::vector<void*>{getObj("point"), getObj("camera"), getObj("record"), getObj("nothing"),
                                  getScript("record"), getScript("point"), getScript(nullptr),
                                  getFunc("camera"), getFunc("vec_set"), getFunc("nothing")}),
              (std::vector<void*>{&point, &engine_.camera(), record, nullptr, record, nullptr, nullptr,
                                  &engine_.camera(), Resolve("vec_set"), nullptr}));
    const auto caller = Pointer<var(void*, intptr_t, intptr_t, intptr_t, intptr_t)>(0xa3c);
    const auto callName4 =
        Entry<var (*)(const char*, intptr_t, intptr_t, intptr_t, intptr_t)>(a6::kEngineCallName4Entry);
    const auto callScript4 =
        Entry<var (*)(void*, intptr_t, intptr_t, intptr_t, intptr_t)>(a6::kEngineCallScript4Entry);
    g_arguments = {};
    EXPECT_EQ(caller(record, 1, -2, 3, INTPTR_MAX), a6::VarFromInt(42));
    EXPECT_EQ(g_arguments, (Arguments{1, -2, 3, INTPTR_MAX}));
    EXPECT_EQ(callName4("record", 5, 6, 7, 8), a6::VarFromInt(42));
    EXPECT_EQ(g_arguments, (Arguments{5, 6, 7, 8}));
    EXPECT_EQ(callScript4(record, 9, 10, 11, 12), a6::VarFromInt(42));
    EXPECT_EQ(g_arguments, (Arguments{9, 10, 11, 12}));
    EXPECT_EQ(caller(nullptr, 1, 2, 3, 4), 0);
    EXPECT_EQ(callName4("camera", 1, 2, 3, 4), 0);
    EXPECT_EQ(callName4(nullptr, 1, 2, 3, 4), 0);
    EXPECT_EQ(g_arguments, (Arguments{9, 10, 11, 12}));
}

} // namespace
