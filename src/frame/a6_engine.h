// The Acknex 6 engine's side of the binding: numbers, strings, the interface block and the records
// the plug-in reads. Shared by the plug-in and the stand-in engine so that both agree on every word.
//
// Host records are laid out in 32-bit words. On a 64-bit build every field that the 32-bit block has
// at byte offset k is the pointer-sized word k / 4 of the block, an engine string's word 3 is
// pointer-sized and an object descriptor is three pointer-sized words; `var`s stay 32-bit everywhere.
// On a 32-bit build this is exactly the engine's own layout.
#ifndef VTR3_A6_ENGINE_H
#define VTR3_A6_ENGINE_H

#include <stddef.h>
#include <stdint.h>

// The engine's number: signed 32-bit fixed point with 10 fraction bits.
typedef int32_t var;

namespace a6 {

inline var VarFromInt(int32_t value) {
    return static_cast<var>(static_cast<uint32_t>(value) << 10);
}
// An arithmetic shift: rounds toward minus infinity (-512 is -1, not 0).
inline int32_t VarToInt(var value) {
    return value >> 10;
}
inline double VarToDouble(var value) {
    return value / 1024.0;
}
inline float VarToFloat(var value) {
    return static_cast<float>(value / 1024.0);
}
// Host side: the nearest `var` to a floating-point number.
inline var VarFromDouble(double value) {
    const double scaled = value * 1024.0;
    return static_cast<var>(scaled < 0 ? scaled - 0.5 : scaled + 0.5);
}

// An engine string; the plug-in reads only word 3, the text.
struct String {
    intptr_t word[3];
    const char* text;
};

inline const char* StringText(const String* string) {
    return string ? string->text : nullptr;
}

// What the object lookup returns for a name: three pointer-sized words.
struct ObjectDescriptor {
    intptr_t value;
    intptr_t alternative;
    intptr_t kind;
};

// Descriptor kinds that the plug-in's wrappers tell apart.
enum ObjectKind : intptr_t {
    kKindObjectPointer = 3, // the object is the alternative value
    kKindScript = 6,        // the value is a script function
    kKindEngineObject = 9,  // the object is the alternative value
};

typedef ObjectDescriptor* (*ObjectLookup)(const char* name);
typedef void* (*Resolver)(const char* name);
typedef var (*ScriptCaller)(void* script, intptr_t a, intptr_t b, intptr_t c, intptr_t d);

// Byte offsets of the fields in the engine's 32-bit interface block.
enum BlockOffset : size_t {
    kOffsetVersion = 0x000,          // var* engine version
    kOffsetEdition = 0x004,          // var* engine edition, the vars of 1 to 4
    kOffsetView = 0x920,             // View* the engine view being rendered
    kOffsetMesh = 0x950,             // ID3DXMesh* an engine mesh
    kOffsetViewMatrix = 0xa04,       // float[16] current view matrix
    kOffsetProjectionMatrix = 0xa0c, // float[16] current projection matrix
    kOffsetWorldMatrix = 0xa10,      // float[16] a world matrix
    kOffsetObjectLookup = 0xa2c,     // ObjectLookup
    kOffsetResolver = 0xa30,         // Resolver
    kOffsetScriptCaller = 0xa3c,     // ScriptCaller
    kOffsetDirect3D = 0xa98,         // IDirect3D9*
    kOffsetDevice = 0xa9c,           // IDirect3DDevice9*
    kOffsetWindow = 0xaa0,           // HWND
};

constexpr size_t kBlockWords = kOffsetWindow / 4 + 1;

// The interface block: pointer-sized words, field k of the 32-bit layout at word k / 4.
struct InterfaceBlock {
    uintptr_t word[kBlockWords];
};

inline uintptr_t BlockField(const InterfaceBlock* block, BlockOffset offset) {
    return block->word[offset / 4];
}
inline void SetBlockField(InterfaceBlock* block, BlockOffset offset, uintptr_t value) {
    block->word[offset / 4] = value;
}

// An engine view: a record of 32-bit words. The plug-in reads the words named here; the rest of the
// layout is the stand-in engine's.
enum ViewWord : size_t {
    kViewLayer = 4, // var: objects are drawn on request only into views of layer 0 or more
    kViewX = 10,    // var: horizontal position
    kViewY = 11,    // var: horizontal position
    kViewZ = 12,    // var: height
    kViewPan = 13,  // var: angles in degrees
    kViewTilt = 14,
    kViewRoll = 15,
    kViewArc = 16, // var: horizontal field of view in degrees
    kViewWords = 24,
};

struct View {
    var word[kViewWords];
};

// A script vector: three `var`s in the engine's axis order (x, y, z with z up).
struct Vector {
    var x, y, z;
};

// The number of entries of the engine function table that A6_DLLAPI fills through the resolver.
constexpr size_t kEngineFunctionCount = 244;

// The value A6_DLLAPI returns to the engine.
constexpr int kDllApiResult = 630;

} // namespace a6

#endif
