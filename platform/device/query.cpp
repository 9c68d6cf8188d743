#include "device/query.h"

#include <cstring>

namespace platform::device {

DWORD Query::DataSizeOf(D3DQUERYTYPE type) {
    switch (type) {
    case D3DQUERYTYPE_EVENT:
    case D3DQUERYTYPE_TIMESTAMPDISJOINT:
        return sizeof(BOOL);
    case D3DQUERYTYPE_OCCLUSION:
        return sizeof(DWORD);
    case D3DQUERYTYPE_TIMESTAMP:
    case D3DQUERYTYPE_TIMESTAMPFREQ:
        return sizeof(std::uint64_t);
    default:
        return 0;
    }
}

HRESULT Query::Create(Device* device, D3DQUERYTYPE type, IDirect3DQuery9** query) {
    if (DataSizeOf(type) == 0)
        return D3DERR_NOTAVAILABLE;
    auto* created = new Query(device, type);
    created->AddRef();
    *query = created;
    return D3D_OK;
}

Query::~Query() {
    Device* device = ParentDevice();
    const DeviceLock lock(device);
    const bool current = (query_ || fence_) && device->MakeCurrent();
    if (device->BuildingOcclusion() == this) {
        if (current)
            EndBuilding(); // the next occlusion query may begin
        device->BuildingOcclusion() = nullptr;
    }
    if (current) {
        if (query_)
            glDeleteQueries(1, &query_);
        if (fence_)
            glDeleteSync(fence_);
    }
}

void Query::EndBuilding() {
    glEndQuery(GL_SAMPLES_PASSED);
    ParentDevice()->BuildingOcclusion() = nullptr;
    state_ = State::Issued;
}

HRESULT Query::Issue(DWORD flags) {
    Device* device = ParentDevice();
    const DeviceLock lock(device);
    if (flags != D3DISSUE_END && flags != D3DISSUE_BEGIN)
        return D3DERR_INVALIDCALL;
    if (!device->MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    if (type_ == D3DQUERYTYPE_OCCLUSION) {
        if (!query_)
            glCreateQueries(GL_SAMPLES_PASSED, 1, &query_);
        if (flags == D3DISSUE_BEGIN) {
            if (Query* other = device->BuildingOcclusion())
                other->EndBuilding(); // this one too, when it begins again
            glBeginQuery(GL_SAMPLES_PASSED, query_);
            device->BuildingOcclusion() = this;
            state_ = State::Building;
            return D3D_OK;
        }
        if (state_ == State::Building) {
            EndBuilding();
        } else {
            // An end without a begin counts nothing.
            result_ = 0;
            state_ = State::Signalled;
            everIssued_ = true;
            return D3D_OK;
        }
    } else if (flags == D3DISSUE_BEGIN) { // only a state: the result comes with the end
        state_ = State::Building;
        return D3D_OK;
    } else if (type_ == D3DQUERYTYPE_EVENT) {
        if (fence_)
            glDeleteSync(fence_);
        fence_ = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    } else if (type_ == D3DQUERYTYPE_TIMESTAMP) {
        if (!query_)
            glCreateQueries(GL_TIMESTAMP, 1, &query_);
        glQueryCounter(query_, GL_TIMESTAMP);
    }
    state_ = State::Issued;
    everIssued_ = true;
    return D3D_OK;
}

bool Query::Ready(bool flush) {
    switch (type_) {
    case D3DQUERYTYPE_EVENT: {
        const GLenum status = glClientWaitSync(fence_, flush ? GL_SYNC_FLUSH_COMMANDS_BIT : 0, 0);
        result_ = status == GL_ALREADY_SIGNALED || status == GL_CONDITION_SATISFIED;
        return result_ != 0;
    }
    case D3DQUERYTYPE_OCCLUSION:
    case D3DQUERYTYPE_TIMESTAMP: {
        GLuint available = 0;
        glGetQueryObjectuiv(query_, GL_QUERY_RESULT_AVAILABLE, &available);
        if (!available) {
            if (flush)
                glFlush();
            return false;
        }
        GLuint64 value = 0;
        glGetQueryObjectui64v(query_, GL_QUERY_RESULT, &value);
        result_ = value;
        return true;
    }
    case D3DQUERYTYPE_TIMESTAMPFREQ:
        result_ = 1000000000; // GL counts nanoseconds
        return true;
    default: // TIMESTAMPDISJOINT
        result_ = FALSE;
        return true;
    }
}

HRESULT Query::GetData(void* data, DWORD size, DWORD flags) {
    Device* device = ParentDevice();
    const DeviceLock lock(device);
    const DWORD needed = DataSizeOf(type_);
    if ((size && !data) || (data && size < needed) || (flags & ~DWORD{D3DGETDATA_FLUSH}))
        return D3DERR_INVALIDCALL;
    if (state_ == State::Building)
        return S_FALSE;
    if (state_ == State::Issued) {
        if (!device->MakeCurrent())
            return D3DERR_DRIVERINTERNALERROR;
        if (!Ready((flags & D3DGETDATA_FLUSH) != 0))
            return S_FALSE;
        state_ = State::Signalled;
    } else if (!everIssued_) {
        result_ = type_ == D3DQUERYTYPE_EVENT ? TRUE : 0;
    }
    if (data) {
        if (needed == sizeof(std::uint64_t)) {
            const std::uint64_t value = result_;
            std::memcpy(data, &value, sizeof value);
        } else {
            const DWORD value = static_cast<DWORD>(result_);
            std::memcpy(data, &value, sizeof value);
        }
    }
    return D3D_OK;
}

} // namespace platform::device
