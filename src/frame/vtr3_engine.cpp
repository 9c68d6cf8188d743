#include "frame/vtr3_engine.h"

#include "frame/a6_engine_names.h"
#include "frame/vtr3_exports.h"
#include "frame/vtr3_globals.h"

void* g_engineFunctions[a6::kEngineFunctionCount];

namespace {

typedef void* (*GetObjFunction)(const char* name);

constexpr size_t kGetObj = a6::kEngineGetObjEntry;
constexpr size_t kGetScript = a6::kEngineGetScriptEntry;
constexpr size_t kGetFunc = a6::kEngineGetFuncEntry;
constexpr size_t kCallName4 = a6::kEngineCallName4Entry;
constexpr size_t kCallScript4 = a6::kEngineCallScript4Entry;

uintptr_t Field(a6::BlockOffset offset) {
    return g_engine ? a6::BlockField(g_engine, offset) : 0;
}

const a6::ObjectDescriptor* LookUp(const char* name) {
    const a6::ObjectLookup lookup = reinterpret_cast<a6::ObjectLookup>(Field(a6::kOffsetObjectLookup));
    return lookup && name ? lookup(name) : NULL;
}

// The engine's pointers to objects of kinds 3 and 9 are in the descriptor's alternative value.
void* EngineGetObj(const char* name) {
    const a6::ObjectDescriptor* descriptor = LookUp(name);
    if (!descriptor) {
        return NULL;
    }
    const bool alternative =
        descriptor->kind == a6::kKindObjectPointer || descriptor->kind == a6::kKindEngineObject;
    return reinterpret_cast<void*>(alternative ? descriptor->alternative : descriptor->value);
}

void* EngineGetScript(const char* name) {
    const a6::ObjectDescriptor* descriptor = LookUp(name);
    return descriptor && descriptor->kind == a6::kKindScript ? reinterpret_cast<void*>(descriptor->value)
                                                             : NULL;
}

void* EngineGetFunc(const char* name) {
    const a6::Resolver resolver = reinterpret_cast<a6::Resolver>(Field(a6::kOffsetResolver));
    return resolver && name ? resolver(name) : NULL;
}

var EngineCallScript4(void* script, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    const a6::ScriptCaller caller = reinterpret_cast<a6::ScriptCaller>(Field(a6::kOffsetScriptCaller));
    return caller ? caller(script, a, b, c, d) : 0;
}

var EngineCallName4(const char* name, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    return EngineCallScript4(EngineGetScript(name), a, b, c, d);
}

template <typename Function> void* TableEntry(Function function) {
    return reinterpret_cast<void*>(function);
}

} // namespace

VTR3_API int A6_DLLAPI(a6::InterfaceBlock* block) {
    g_engine = block;
    for (size_t i = 0; i < a6::kEngineFunctionCount; ++i) {
        g_engineFunctions[i] = EngineGetFunc(a6::kEngineFunctionNames[i]);
    }
    g_engineFunctions[kGetObj] = TableEntry(&EngineGetObj);
    g_engineFunctions[kGetScript] = TableEntry(&EngineGetScript);
    g_engineFunctions[kGetFunc] = TableEntry(&EngineGetFunc);
    g_engineFunctions[kCallName4] = TableEntry(&EngineCallName4);
    g_engineFunctions[kCallScript4] = TableEntry(&EngineCallScript4);
    return a6::kDllApiResult;
}

var VTR3EngineVersion() {
    const var* version = reinterpret_cast<const var*>(Field(a6::kOffsetVersion));
    return version ? *version : 0;
}

var VTR3EngineEdition() {
    const var* edition = reinterpret_cast<const var*>(Field(a6::kOffsetEdition));
    return edition ? *edition : 0;
}

HWND VTR3EngineWindow() {
    return reinterpret_cast<HWND>(Field(a6::kOffsetWindow));
}

IDirect3D9* VTR3EngineDirect3D() {
    return reinterpret_cast<IDirect3D9*>(Field(a6::kOffsetDirect3D));
}

IDirect3DDevice9* VTR3EngineDevice() {
    return reinterpret_cast<IDirect3DDevice9*>(Field(a6::kOffsetDevice));
}

a6::View* VTR3EngineView() {
    return reinterpret_cast<a6::View*>(Field(a6::kOffsetView));
}

void* VTR3EngineGetObj(const char* name) {
    const GetObjFunction getObj = reinterpret_cast<GetObjFunction>(g_engineFunctions[kGetObj]);
    return getObj ? getObj(name) : NULL;
}
