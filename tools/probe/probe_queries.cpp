// Queries: which types a device offers, the issue flags each takes, what GetData answers for a query
// never issued and for one still building, and the samples an occlusion query counts.
#include "probe_checks.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// GetData until the result is ready (at most a million times): the answer and the value.
std::string Data(IDirect3DQuery9* query, DWORD size) {
    std::uint64_t value = 0;
    HRESULT hr = S_FALSE;
    for (int tries = 0; tries < 1000000 && hr == S_FALSE; ++tries)
        hr = query->GetData(&value, size, D3DGETDATA_FLUSH);
    return Result(hr) + " value=" + std::to_string(value);
}

} // namespace

void ProbeQueries(const Probe& probe) {
    IDirect3DDevice9* d = probe.device;
    ResetState(probe);
    for (int type = D3DQUERYTYPE_VCACHE; type <= D3DQUERYTYPE_MEMORYPRESSURE; ++type) {
        if (type == 7)
            continue; // no type 7
        const std::string name = "query_" + std::to_string(type);
        const HRESULT offered = d->CreateQuery(static_cast<D3DQUERYTYPE>(type), nullptr);
        IDirect3DQuery9* query = nullptr;
        const HRESULT created = d->CreateQuery(static_cast<D3DQUERYTYPE>(type), &query);
        if (!query || (type != D3DQUERYTYPE_EVENT && type != D3DQUERYTYPE_OCCLUSION &&
                       type != D3DQUERYTYPE_TIMESTAMPDISJOINT && type != D3DQUERYTYPE_TIMESTAMPFREQ)) {
            Print(name.c_str(), "offered " + Result(offered) + " created " + Result(created));
            if (query)
                query->Release();
            continue;
        }
        const DWORD size = query->GetDataSize();
        std::uint64_t unused = 0; // what a query never issued writes is not defined
        const std::string never = Result(query->GetData(&unused, size, 0));
        const HRESULT begin = query->Issue(D3DISSUE_BEGIN);
        const HRESULT building = query->GetData(nullptr, 0, 0);
        const HRESULT end = query->Issue(D3DISSUE_END);
        Print(name.c_str(), "offered " + Result(offered) + " size " + std::to_string(size) +
                                " never issued " + never + " begin " + Result(begin) + " building " +
                                Result(building) + " end " + Result(end) + " then " + Data(query, size));
        query->Release();
    }
    IDirect3DQuery9* occlusion = nullptr;
    if (SUCCEEDED(d->CreateQuery(D3DQUERYTYPE_OCCLUSION, &occlusion))) {
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
        d->BeginScene();
        occlusion->Issue(D3DISSUE_BEGIN);
        DrawScreenQuad(d, 8, 4, 28, 14, 0.5f, 0xFFFFFFFF);
        occlusion->Issue(D3DISSUE_END);
        d->EndScene();
        Print("query_occlusion_20x10", Data(occlusion, sizeof(DWORD)));
        occlusion->Release();
    }
}
