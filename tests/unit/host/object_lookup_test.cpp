// The object lookup: named vectors, views, strings, engine objects and script functions, as the
// interface block's lookup hands them to the plug-in.
#include <gtest/gtest.h>

#include "engine.h"
#include "engine_view.h"
#include "host_error.h"

namespace {

var Sum(intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    return static_cast<var>(a + b + c + d);
}

class ObjectLookup : public ::testing::Test {
  protected:
    // Through the block, as the plug-in calls it.
    a6::ObjectDescriptor* Lookup(const char* name) {
        const auto lookup =
            reinterpret_cast<a6::ObjectLookup>(a6::BlockField(engine_.block(), a6::kOffsetObjectLookup));
        return lookup(name);
    }

    host::Engine engine_;
    host::ObjectTable& objects_ = engine_.objects();
};

TEST_F(ObjectLookup, FindsVectorsAsObjectPointersOfKind3) {
    a6::Vector& point = objects_.AddVector("clip_point", {1024, 2048, 3072});
    const a6::ObjectDescriptor* descriptor = Lookup("clip_point");
    EXPECT_EQ(descriptor->kind, a6::kKindObjectPointer);
    EXPECT_EQ(descriptor->alternative, reinterpret_cast<intptr_t>(&point));
    EXPECT_EQ(reinterpret_cast<a6::Vector*>(descriptor->alternative)->z, 3072);
    EXPECT_EQ(objects_.FindVector("clip_point"), &point);
}

TEST_F(ObjectLookup, FindsViewsStringsAndEngineObjectsAsKind9) {
    a6::View& view = objects_.AddView("mirror");
    host::EngineString& string = objects_.AddString("title", "Vantor");
    int entity = 0;
    objects_.AddObject("player", &entity);
    EXPECT_EQ(Lookup("mirror")->kind, a6::kKindEngineObject);
    EXPECT_EQ(Lookup("mirror")->alternative, reinterpret_cast<intptr_t>(&view));
    EXPECT_EQ(Lookup("title")->alternative, reinterpret_cast<intptr_t>(string.record()));
    EXPECT_EQ(Lookup("player")->kind, a6::kKindEngineObject);
    EXPECT_EQ(Lookup("player")->alternative, reinterpret_cast<intptr_t>(&entity));
}

TEST_F(ObjectLookup, TheCameraIsAViewFromTheStart) {
    EXPECT_EQ(Lookup("camera")->kind, a6::kKindEngineObject);
    EXPECT_EQ(Lookup("camera")->alternative, reinterpret_cast<intptr_t>(&engine_.camera()));
    EXPECT_EQ(engine_.camera().word[a6::kViewArc], a6::VarFromDouble(host::kDefaultViewArc));
}

TEST_F(ObjectLookup, ViewsTakePositionAndAnglesInTheirWords) {
    a6::View& view = objects_.AddView("sky");
    host::SetViewPosition(view, 1.5, -2, 300);
    host::SetViewAngles(view, 90, -10, 0.25);
    EXPECT_EQ(view.word[a6::kViewX], 1536);
    EXPECT_EQ(view.word[a6::kViewY], -2048);
    EXPECT_EQ(view.word[a6::kViewZ], 300 * 1024);
    EXPECT_EQ(view.word[a6::kViewPan], 90 * 1024);
    EXPECT_EQ(view.word[a6::kViewTilt], -10 * 1024);
    EXPECT_EQ(view.word[a6::kViewRoll], 256);
}

TEST_F(ObjectLookup, FindsScriptFunctionsAsKind6WithTheFunctionInTheValue) {
    objects_.AddScript("on_frame", &Sum);
    const a6::ObjectDescriptor* descriptor = Lookup("on_frame");
    EXPECT_EQ(descriptor->kind, a6::kKindScript);
    EXPECT_EQ(descriptor->value, reinterpret_cast<intptr_t>(&Sum));
}

TEST_F(ObjectLookup, UnknownOrMissingNamesGiveKind0WithNullValues) {
    for (const char* name : {"no_such_object", "", static_cast<const char*>(nullptr)}) {
        a6::ObjectDescriptor* descriptor = Lookup(name);
        ASSERT_NE(descriptor, nullptr);
        EXPECT_EQ(descriptor->kind, 0);
        EXPECT_EQ(descriptor->value, 0);
        EXPECT_EQ(descriptor->alternative, 0);
        descriptor->kind = a6::kKindScript; // a careless caller cannot poison the next answer
    }
    EXPECT_EQ(Lookup("no_such_object")->kind, 0);
    EXPECT_EQ(objects_.Find("no_such_object"), nullptr);
}

TEST(Engine, IsOneAtATimeAndLeavesLookupsSafeWhenGone) {
    {
        host::Engine engine;
        EXPECT_EQ(host::Engine::Current(), &engine);
        EXPECT_THROW(host::Engine(), host::Error);
        EXPECT_EQ(host::Engine::Current(), &engine);
    }
    EXPECT_EQ(host::Engine::Current(), nullptr);
    EXPECT_EQ(host::LookUpObject("camera")->kind, 0);
    EXPECT_EQ(host::ResolveEngineFunction("camera"), nullptr);
}

} // namespace
