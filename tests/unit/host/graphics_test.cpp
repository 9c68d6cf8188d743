// The engine releases the window and device it created, and refuses an empty window. What the block
// holds and what the device looks like, the plug-in's end-to-end tests see.
#include <gtest/gtest.h>

#include "engine.h"
#include "host_error.h"
#include "platform_control.h"

namespace {

TEST(EngineGraphics, ReleasesWhatItCreatedAndRefusesAnEmptyWindow) {
    const std::size_t before = platform::LiveObjectCount();
    {
        host::Engine engine;
        engine.CreateGraphics(64, 64, "Acknex 6");
        EXPECT_GT(platform::LiveObjectCount(), before);
    }
    EXPECT_EQ(platform::LiveObjectCount(), before);
    host::Engine engine;
    EXPECT_THROW(engine.CreateGraphics(0, 768, "Acknex 6"), host::Error);
    EXPECT_EQ(engine.device(), nullptr);
}

} // namespace
