// Stand-ins for the D3DX file loaders and the effect compiler's refusals, linked into the manager tests in
// place of the platform's: they write each call with its arguments into a call list and answer with a
// small texture of the loader's kind, or with a chosen failure.
#ifndef VTR3_TESTS_UNIT_MANAGERS_FAKE_D3DX_H
#define VTR3_TESTS_UNIT_MANAGERS_FAKE_D3DX_H

#include <d3d9.h>

#include <map>
#include <string>
#include <vector>

namespace fake_d3dx {

// Where the loaders write their calls; null writes nothing.
extern std::vector<std::string>* g_calls;
// The device the loaders make their textures on.
extern IDirect3DDevice9* g_device;
// What the loaders answer; D3D_OK hands out a texture.
extern HRESULT g_result;
// What the effect compiler answers: for a path in g_effectSources, the platform's effect built from
// its text on the device given; for any other, a failure (it hands out no effect), with these
// messages in a platform buffer when they are not empty.
extern HRESULT g_effectResult;
extern std::string g_compilerMessages;
extern std::map<std::string, std::string> g_effectSources;

} // namespace fake_d3dx

#endif
