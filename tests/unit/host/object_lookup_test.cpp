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

// Vectors are object pointers (kind 3), views (the camera from the start), strings and engine objects
// kind 9, all with the record in `alternative`; script functions kind 6 with the function in `value`.
TEST_F(ObjectLookup, FindsEachKindOfObjectByName) {
    a6::Vector& point = objects_.AddVector("clip_point", {1024, 2048, 3072});
    a6::View& view = objects_.AddView("mirror");
    host::EngineString& string = objects_.AddString("title", "Vantor");
    int entity = 0;
    objects_.AddObject("player", &entity);
    objects_.AddScript("on_frame", &Sum);
    const struct {
        const char* name;
        int kind;
        const void* alternative;
    } cases[] = {{"clip_point", a6::kKindObjectPointer, &point},
                 {"mirror", a6::kKindEngineObject, &view},
                 {"camera", a6::kKindEngineObject, &engine_.camera()},
                 {"title", a6::kKindEngineObject, string.record()},
                 {"player", a6::kKindEngineObject, &entity},
                 {"on_frame", a6::kKindScript, nullptr}};
    for (const auto& c : cases) {
        EXPECT_EQ(Lookup(c.name)->kind, c.kind) << c.name;
        EXPECT_EQ(Lookup(c.name)->alternative, reinterpret_cast<intptr_t>(c.alternative)) << c.name;
    }
    EXPECT_EQ(Lookup("on_frame")->value, reinterpret_cast<intptr_t>(&Sum));
    EXPECT_EQ(objects_.FindVector("clip_point"), &point);
    EXPECT_EQ(engine_.camera().word[a6::kViewArc], a6::VarFromDouble(host::kDefaultViewArc));
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
