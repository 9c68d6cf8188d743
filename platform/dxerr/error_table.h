// The one table of result codes that the DirectX 9 error texts know: value, symbolic name and
// English description.
#ifndef VTR3_PLATFORM_DXERR_ERROR_TABLE_H
#define VTR3_PLATFORM_DXERR_ERROR_TABLE_H

#include <windows.h>

#include <cstddef>

namespace platform::dxerr {

struct ErrorText {
    HRESULT result;
    const char* name;
    const char* description;
};

extern const ErrorText kErrorTexts[];
extern const std::size_t kErrorTextCount;

// The row of a result, or null for a result the table does not know.
const ErrorText* FindErrorText(HRESULT result);

} // namespace platform::dxerr

#endif
