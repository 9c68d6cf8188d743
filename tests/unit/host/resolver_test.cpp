// The resolver, the engine functions behind the table's entries, and the script caller.
#include <gtest/gtest.h>

#include <cstring>

#include "engine.h"
#include "engine_names.h"
#include "frame/a6_engine_names.h"

namespace {

intptr_t g_arguments[4];

var Record(intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    g_arguments[0] = a;
    g_arguments[1] = b;
    g_arguments[2] = c;
    g_arguments[3] = d;
    return a6::VarFromInt(42);
}

class Resolver : public ::testing::Test {
  protected:
    void* Resolve(const char* name) {
        const auto resolver =
            reinterpret_cast<a6::Resolver>(a6::BlockField(engine_.block(), a6::kOffsetResolver));
        return resolver(name);
    }
    // An entry of the table as the plug-in would call it.
    template <typename Function> Function Entry(std::size_t entry) {
        return reinterpret_cast<Function>(Resolve(a6::kEngineFunctionNames[entry]));
    }

    void SetUp() override { std::memset(g_arguments, 0, sizeof g_arguments); }

    host::Engine engine_;
};

TEST_F(Resolver, ResolvesEveryNameOfTheTableAndNothingElse) {
    for (const char* name : a6::kEngineFunctionNames) {
        EXPECT_NE(Resolve(name), nullptr) << name;
    }
    EXPECT_EQ(Resolve("no_such_function"), nullptr);
    EXPECT_EQ(Resolve("ENT_CREATE"), nullptr);
    EXPECT_EQ(Resolve(""), nullptr);
    EXPECT_EQ(Resolve(nullptr), nullptr);
}

TEST_F(Resolver, ResolvesVariablesToTheirStorageAndTheCameraToItsView) {
    EXPECT_EQ(Resolve("camera"), &engine_.camera());
    EXPECT_EQ(Resolve("version"), engine_.variables().FindVar("version"));
    EXPECT_EQ(Resolve("sky_color"), engine_.variables().Find("sky_color"));
    EXPECT_NE(Resolve("time_step"), Resolve("time_frame"));
    EXPECT_EQ(engine_.variables().Find("ent_create"), nullptr); // functions have no storage
}

TEST_F(Resolver, SetsTheClockAndItsVariables) {
    engine_.SetClock(2500);
    EXPECT_EQ(GetTickCount(), 2500u);
    EXPECT_EQ(*engine_.variables().FindVar("total_ticks"), a6::VarFromInt(40));
    EXPECT_EQ(*engine_.variables().FindVar("total_secs"), a6::VarFromDouble(2.5));
}

TEST_F(Resolver, EngineGetObjGetScriptAndGetFunc) {
    a6::Vector& point = engine_.objects().AddVector("point");
    engine_.objects().AddScript("record", &Record);
    const auto getObj = Entry<void* (*)(const char*)>(a6::kEngineGetObjEntry);
    const auto getScript = Entry<void* (*)(const char*)>(a6::kEngineGetScriptEntry);
    EXPECT_EQ(getObj("point"), &point);
    EXPECT_EQ(getObj("camera"), &engine_.camera());
    EXPECT_EQ(getObj("record"), reinterpret_cast<void*>(&Record));
    EXPECT_EQ(getObj("nothing"), nullptr);
    EXPECT_EQ(getScript("record"), reinterpret_cast<void*>(&Record));
    EXPECT_EQ(getScript("point"), nullptr);
    EXPECT_EQ(getScript(nullptr), nullptr);
    const auto getFunc = Entry<void* (*)(const char*)>(a6::kEngineGetFuncEntry); // the resolver itself
    EXPECT_EQ(getFunc("camera"), &engine_.camera());
    EXPECT_EQ(getFunc("vec_set"), Resolve("vec_set"));
    EXPECT_EQ(getFunc("nothing"), nullptr);
}

TEST_F(Resolver, ScriptCallerPassesFourArgumentsAndReturnsTheResult) {
    const auto caller =
        reinterpret_cast<a6::ScriptCaller>(a6::BlockField(engine_.block(), a6::kOffsetScriptCaller));
    EXPECT_EQ(caller(reinterpret_cast<void*>(&Record), 1, -2, 3, INTPTR_MAX), a6::VarFromInt(42));
    EXPECT_EQ(g_arguments[0], 1);
    EXPECT_EQ(g_arguments[1], -2);
    EXPECT_EQ(g_arguments[2], 3);
    EXPECT_EQ(g_arguments[3], INTPTR_MAX); // pointer-sized, not cut to 32 bits
    EXPECT_EQ(caller(nullptr, 1, 2, 3, 4), 0);
}

TEST_F(Resolver, CallName4AndCallScript4CallScriptFunctions) {
    engine_.objects().AddScript("record", &Record);
    const auto callName4 =
        Entry<var (*)(const char*, intptr_t, intptr_t, intptr_t, intptr_t)>(a6::kEngineCallName4Entry);
    const auto callScript4 =
        Entry<var (*)(void*, intptr_t, intptr_t, intptr_t, intptr_t)>(a6::kEngineCallScript4Entry);
    EXPECT_EQ(callName4("record", 5, 6, 7, 8), a6::VarFromInt(42));
    EXPECT_EQ(g_arguments[3], 8);
    EXPECT_EQ(callScript4(reinterpret_cast<void*>(&Record), 9, 10, 11, 12), a6::VarFromInt(42));
    EXPECT_EQ(g_arguments[0], 9);
    EXPECT_EQ(callName4("camera", 1, 2, 3, 4), 0); // not a script: nothing is called
    EXPECT_EQ(callName4(nullptr, 1, 2, 3, 4), 0);
    EXPECT_EQ(g_arguments[0], 9);
}

} // namespace
