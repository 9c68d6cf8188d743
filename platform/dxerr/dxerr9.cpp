// DXGetErrorString9A and DXGetErrorDescription9A over the error table.
#include <dxerr9.h>

#include "dxerr/error_table.h"

const char* WINAPI DXGetErrorString9A(HRESULT hr) {
    const platform::dxerr::ErrorText* row = platform::dxerr::FindErrorText(hr);
    return row ? row->name : "Unknown";
}

const char* WINAPI DXGetErrorDescription9A(HRESULT hr) {
    const platform::dxerr::ErrorText* row = platform::dxerr::FindErrorText(hr);
    return row ? row->description : "n/a";
}
