// The count of live platform objects behind platform::LiveObjectCount: every COM object of the
// platform registers itself here for its lifetime.
#ifndef VTR3_PLATFORM_COM_LIVE_OBJECTS_H
#define VTR3_PLATFORM_COM_LIVE_OBJECTS_H

namespace platform::com {

void CountObjectCreated();
void CountObjectDestroyed();

} // namespace platform::com

#endif
