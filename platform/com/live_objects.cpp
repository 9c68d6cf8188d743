#include "com/live_objects.h"

#include "platform_control.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<std::size_t> g_liveObjects{0};

} // namespace

void com::CountObjectCreated() {
    ++g_liveObjects;
}
void com::CountObjectDestroyed() {
    --g_liveObjects;
}

std::size_t LiveObjectCount() {
    return g_liveObjects;
}

} // namespace platform
