// Checks and completes the arguments of IDirect3D9::CreateDevice (and later Reset): the presentation
// parameters and behaviour flags, against the stand-in windows and what the device offers.
#ifndef VTR3_PLATFORM_DEVICE_PRESENTATION_H
#define VTR3_PLATFORM_DEVICE_PRESENTATION_H

#include <d3d9.h>

namespace platform::device {

HRESULT CheckBehaviorFlags(DWORD behaviorFlags);

// D3D_OK and *completed filled in as Direct3D completes it: a size of 0 takes the device window's
// client size, an unknown windowed format takes the display's, a count of 0 becomes 1.
HRESULT CompletePresentation(HWND focusWindow, const D3DPRESENT_PARAMETERS& requested, int maxSize,
                             D3DPRESENT_PARAMETERS* completed);

} // namespace platform::device

#endif
