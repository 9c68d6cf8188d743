// An object's reference count, read without changing it.
#ifndef VTR3_TESTS_SUPPORT_REFERENCE_COUNT_H
#define VTR3_TESTS_SUPPORT_REFERENCE_COUNT_H

#include <d3d9.h>

inline ULONG CountOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

#endif
