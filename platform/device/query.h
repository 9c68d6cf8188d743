// IDirect3DQuery9 over OpenGL: EVENT over a fence, OCCLUSION over a samples-passed query, TIMESTAMP
// over a timestamp query (nanoseconds, so TIMESTAMPFREQ answers 1e9), TIMESTAMPDISJOINT always FALSE
// (GL's clock does not jump). The other types are not offered: CreateQuery answers
// D3DERR_NOTAVAILABLE for them.
//
// A query starts signalled. Issue(D3DISSUE_BEGIN) starts building it (a samples count for OCCLUSION,
// only a state for the others), Issue(D3DISSUE_END) issues it; GetData answers S_FALSE while it is
// building and until the result is ready, then S_OK with the result; on a query never issued it
// answers S_OK with nothing counted (TRUE for an event). Wine's Direct3D 9 answers the same.
// The GL objects belong to the device's context, which a Reset keeps: queries live on across it.
#ifndef VTR3_PLATFORM_DEVICE_QUERY_H
#define VTR3_PLATFORM_DEVICE_QUERY_H

#include "device/device_child.h"
#include "device/gl_api.h"

#include <cstdint>

namespace platform::device {

class Query final : public DeviceChild<IDirect3DQuery9> {
  public:
    // The size of the type's result; 0 for a type that is not offered.
    static DWORD DataSizeOf(D3DQUERYTYPE type);
    // A query with one public reference, or D3DERR_NOTAVAILABLE.
    static HRESULT Create(Device* device, D3DQUERYTYPE type, IDirect3DQuery9** query);

    D3DQUERYTYPE STDMETHODCALLTYPE GetType() override { return type_; }
    DWORD STDMETHODCALLTYPE GetDataSize() override { return DataSizeOf(type_); }
    HRESULT STDMETHODCALLTYPE Issue(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetData(void* data, DWORD size, DWORD flags) override;

    // Ends the samples count of a building occlusion query: GL counts one at a time, so another
    // query's BEGIN ends this one.
    void EndBuilding();

  private:
    enum class State { Signalled, Building, Issued };

    Query(Device* device, D3DQUERYTYPE type) : DeviceChild<IDirect3DQuery9>(device), type_(type) {}
    ~Query() override;
    // The result once ready; false while the device is still working on it.
    bool Ready(bool flush);

    const D3DQUERYTYPE type_;
    State state_ = State::Signalled;
    bool everIssued_ = false;
    GLuint query_ = 0;
    GLsync fence_ = nullptr;
    std::uint64_t result_ = 0;
};

} // namespace platform::device

#endif
