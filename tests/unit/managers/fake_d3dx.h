// Stand-ins for the D3DX file loaders and the effect compiler's refusals, linked into the manager tests in
// place of the platform's: they write each call with its arguments into a call list and answer with a
// small texture of the loader's kind, or with a chosen failure.
#ifndef VTR3_TESTS_UNIT_MANAGERS_FAKE_D3DX_H
#define VTR3_TESTS_UNIT_MANAGERS_FAKE_D3DX_H

#include <d3d9.h>

#include <string>
#include <vector>

namespace fake_d3dx {

// Where the loaders write their calls; null writes nothing.
extern std::vector<std::string>* g_calls;
// The device the loaders make their textures on.
extern IDirect3DDevice9* g_device;
// What the loaders answer; D3D_OK hands out a texture.
extern HRESULT g_result;
// What the effect compiler answers: a failure (it hands out no effect), with these messages in a
// buffer when they are not empty; or, while g_effectSource is not empty, the platform's effect built
// from that text on the device given, whatever the path.
extern HRESULT g_effectResult;
extern std::string g_compilerMessages;
extern std::string g_effectSource;
// The message buffers handed out and not yet released.
int LiveBuffers();

} // namespace fake_d3dx

#endif
