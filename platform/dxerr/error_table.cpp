#include "dxerr/error_table.h"

#include <d3d9.h>
#include <d3dx9.h>

#include <iterator>

namespace platform::dxerr {

// The name column is the macro's own spelling, so a name can never drift from its value.
#define VTR3_ERROR_ROW(result, description)                                                                  \
    { result, #result, description }

// D3D_OK is S_OK; one value has one row, under the generic name.
const ErrorText kErrorTexts[] = {
    VTR3_ERROR_ROW(S_OK, "No error occurred"),
    VTR3_ERROR_ROW(S_FALSE, "Call successful, but returned FALSE"),
    VTR3_ERROR_ROW(E_UNEXPECTED, "Catastrophic failure"),
    VTR3_ERROR_ROW(E_NOTIMPL, "Not implemented"),
    VTR3_ERROR_ROW(E_OUTOFMEMORY, "Ran out of memory"),
    VTR3_ERROR_ROW(E_INVALIDARG, "One or more arguments are invalid"),
    VTR3_ERROR_ROW(E_NOINTERFACE, "No such interface supported"),
    VTR3_ERROR_ROW(E_POINTER, "Invalid pointer"),
    VTR3_ERROR_ROW(E_HANDLE, "Invalid handle"),
    VTR3_ERROR_ROW(E_ABORT, "Operation aborted"),
    VTR3_ERROR_ROW(E_FAIL, "Unspecified error"),
    VTR3_ERROR_ROW(E_ACCESSDENIED, "General access denied error"),

    VTR3_ERROR_ROW(D3DERR_WRONGTEXTUREFORMAT, "Wrong texture format"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDCOLOROPERATION, "Unsupported color operation"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDCOLORARG, "Unsupported color arg"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDALPHAOPERATION, "Unsupported alpha operation"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDALPHAARG, "Unsupported alpha arg"),
    VTR3_ERROR_ROW(D3DERR_TOOMANYOPERATIONS, "Too many operations"),
    VTR3_ERROR_ROW(D3DERR_CONFLICTINGTEXTUREFILTER, "Conflicting texture filter"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDFACTORVALUE, "Unsupported factor value"),
    VTR3_ERROR_ROW(D3DERR_CONFLICTINGRENDERSTATE, "Conflicting render state"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDTEXTUREFILTER, "Unsupported texture filter"),
    VTR3_ERROR_ROW(D3DERR_CONFLICTINGTEXTUREPALETTE, "Conflicting texture palette"),
    VTR3_ERROR_ROW(D3DERR_DRIVERINTERNALERROR, "Driver internal error"),
    VTR3_ERROR_ROW(D3DERR_NOTFOUND, "Not found"),
    VTR3_ERROR_ROW(D3DERR_MOREDATA, "More data"),
    VTR3_ERROR_ROW(D3DERR_DEVICELOST, "Device lost"),
    VTR3_ERROR_ROW(D3DERR_DEVICENOTRESET, "Device not reset"),
    VTR3_ERROR_ROW(D3DERR_NOTAVAILABLE, "Not available"),
    VTR3_ERROR_ROW(D3DERR_OUTOFVIDEOMEMORY, "Out of video memory"),
    VTR3_ERROR_ROW(D3DERR_INVALIDDEVICE, "Invalid device"),
    VTR3_ERROR_ROW(D3DERR_INVALIDCALL, "Invalid call"),
    VTR3_ERROR_ROW(D3DERR_DRIVERINVALIDCALL, "Driver invalid call"),
    VTR3_ERROR_ROW(D3DERR_WASSTILLDRAWING, "Was Still Drawing"),
    VTR3_ERROR_ROW(D3DOK_NOAUTOGEN, "The call succeeded but there won't be any mipmaps generated"),
    VTR3_ERROR_ROW(D3DERR_DEVICEREMOVED, "Hardware device was removed"),
    VTR3_ERROR_ROW(D3DERR_DEVICEHUNG, "Hardware adapter reset by OS"),
    VTR3_ERROR_ROW(S_NOT_RESIDENT, "Resource not resident in memory"),
    VTR3_ERROR_ROW(S_RESIDENT_IN_SHARED_MEMORY, "Resource resident in shared memory"),
    VTR3_ERROR_ROW(S_PRESENT_MODE_CHANGED, "Desktop display mode has changed"),
    VTR3_ERROR_ROW(S_PRESENT_OCCLUDED, "Client window is occluded (minimized or other fullscreen)"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDOVERLAY, "Overlay is not supported"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDOVERLAYFORMAT, "Overlay format is not supported"),
    VTR3_ERROR_ROW(D3DERR_CANNOTPROTECTCONTENT, "Content protection not available"),
    VTR3_ERROR_ROW(D3DERR_UNSUPPORTEDCRYPTO, "Unsupported cryptographic system"),
    VTR3_ERROR_ROW(D3DERR_PRESENT_STATISTICS_DISJOINT, "Presentation statistics are disjoint"),

    VTR3_ERROR_ROW(D3DXERR_CANNOTMODIFYINDEXBUFFER, "Index buffer cannot be modified"),
    VTR3_ERROR_ROW(D3DXERR_INVALIDMESH, "Mesh is invalid"),
    VTR3_ERROR_ROW(D3DXERR_CANNOTATTRSORT, "Cannot attribute sort"),
    VTR3_ERROR_ROW(D3DXERR_SKINNINGNOTSUPPORTED, "Skinning not supported"),
    VTR3_ERROR_ROW(D3DXERR_TOOMANYINFLUENCES, "Too many influences"),
    VTR3_ERROR_ROW(D3DXERR_INVALIDDATA, "Invalid data"),
    VTR3_ERROR_ROW(D3DXERR_LOADEDMESHASNODATA, "Loaded mesh has no data"),
    VTR3_ERROR_ROW(D3DXERR_DUPLICATENAMEDFRAGMENT, "Duplicate named fragment"),
    VTR3_ERROR_ROW(D3DXERR_CANNOTREMOVELASTITEM, "Cannot remove last item"),
};

#undef VTR3_ERROR_ROW

const std::size_t kErrorTextCount = std::size(kErrorTexts);

const ErrorText* FindErrorText(HRESULT result) {
    for (const ErrorText& row : kErrorTexts) {
        if (row.result == result)
            return &row;
    }
    return nullptr;
}

} // namespace platform::dxerr
