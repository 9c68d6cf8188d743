// The records the plug-in reads: vars, engine strings and the interface block's words.
#include <gtest/gtest.h>

#include <cstddef>

#include "engine.h"
#include "engine_string.h"
#include "frame/a6_engine.h"

namespace {

TEST(Var, ConvertsWithTenFractionBitsAndRoundsDownToIntegers) {
    EXPECT_DOUBLE_EQ(a6::VarToDouble(-512), -0.5);
    EXPECT_EQ(a6::VarToInt(-512), -1); // an arithmetic shift, not a truncation toward 0
    EXPECT_DOUBLE_EQ(a6::VarToDouble(1536), 1.5);
    EXPECT_EQ(a6::VarToInt(1536), 1);
    EXPECT_EQ(a6::VarFromInt(-3), -3072);
    EXPECT_EQ(a6::VarFromDouble(-0.5), -512);
    EXPECT_EQ(a6::VarFromDouble(6.31), 6461); // the nearest var, on either side of 0
    EXPECT_EQ(a6::VarFromDouble(-6.31), -6461);
}

TEST(EngineString, Word3PointsAtTheTextTheHostOwns) {
    host::EngineString string("Vantor 3.0 Runner");
    const auto* words = reinterpret_cast<const intptr_t*>(string.record());
    EXPECT_EQ(reinterpret_cast<const char*>(words[3]), string.text().c_str());
    EXPECT_STREQ(a6::StringText(string.record()), "Vantor 3.0 Runner");
    EXPECT_EQ(a6::StringText(nullptr), nullptr);
}

class InterfaceBlock : public ::testing::Test {
  protected:
    // The field at byte offset k of the engine's 32-bit block is pointer-sized word k / 4.
    uintptr_t Word(std::size_t offset) const { return engine_.block()->word[offset / 4]; }
    template <typename T> uintptr_t Address(T* pointer) const { return reinterpret_cast<uintptr_t>(pointer); }

    host::Engine engine_;
};

TEST_F(InterfaceBlock, HoldsTheEngineFieldsAtTheirWordsAndFollowsThem) {
    EXPECT_EQ(*reinterpret_cast<const var*>(Word(0x000)), a6::VarFromDouble(host::Engine::kDefaultVersion));
    EXPECT_EQ(*reinterpret_cast<const var*>(Word(0x004)), a6::VarFromInt(host::Engine::kDefaultEdition));
    EXPECT_EQ(Word(0x920), Address(&engine_.camera()));
    EXPECT_EQ(Word(0x950), 0u);
    EXPECT_EQ(Word(0xa04), Address(engine_.viewMatrix()));
    EXPECT_EQ(Word(0xa0c), Address(engine_.projectionMatrix()));
    EXPECT_EQ(Word(0xa10), Address(engine_.worldMatrix()));
    EXPECT_EQ(Word(0xa2c), Address(&host::LookUpObject));
    EXPECT_EQ(Word(0xa30), Address(&host::ResolveEngineFunction));
    EXPECT_EQ(Word(0xa3c), Address(&host::CallScript));
    // No window, IDirect3D9 or device until the engine creates them.
    EXPECT_EQ(Word(0xa98), 0u);
    EXPECT_EQ(Word(0xa9c), 0u);
    EXPECT_EQ(Word(0xaa0), 0u);

    // The fields follow what the engine sets; version and edition are the engine's variables.
    engine_.SetVersion(6461);
    engine_.SetEdition(2);
    EXPECT_EQ(Word(0x000), Address(engine_.variables().FindVar("version")));
    EXPECT_EQ(*reinterpret_cast<const var*>(Word(0x000)), 6461);
    EXPECT_EQ(*reinterpret_cast<const var*>(Word(0x004)), 2);
    a6::View& other = engine_.objects().AddView("other");
    engine_.SetRenderedView(&other);
    int mesh = 0;
    engine_.SetMesh(&mesh);
    int fake = 0;
    engine_.SetWindowField(reinterpret_cast<HWND>(&fake));
    engine_.SetDeviceField(reinterpret_cast<IDirect3DDevice9*>(&fake));
    EXPECT_EQ(Word(0x920), Address(&other));
    EXPECT_EQ(Word(0x950), Address(&mesh));
    EXPECT_EQ(Word(0xaa0), Address(&fake));
    EXPECT_EQ(Word(0xa9c), Address(&fake));
    EXPECT_EQ(engine_.window(), nullptr); // the engine's own stay as they were
    EXPECT_EQ(engine_.device(), nullptr);
}

} // namespace
