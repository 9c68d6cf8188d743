#include "engine_functions.h"

#include "engine.h"
#include "frame/a6_engine_names.h"

namespace host {
namespace {

void* EngineGetObj(const char* name) {
    return DescriptorObject(*LookUpObject(name));
}

void* EngineGetScript(const char* name) {
    const a6::ObjectDescriptor* descriptor = LookUpObject(name);
    return descriptor->kind == a6::kKindScript ? reinterpret_cast<void*>(descriptor->value) : nullptr;
}

void* EngineGetFunc(const char* name) {
    return ResolveEngineFunction(name);
}

var EngineCallName4(const char* name, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    return CallScript(EngineGetScript(name), a, b, c, d);
}

var EngineCallScript4(void* script, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    return CallScript(script, a, b, c, d);
}

// The engine functions the stand-in does not have. Called through an entry of any signature: with
// the C calling convention the caller removes what it pushed, so ignoring the arguments is safe.
var NotImplemented() {
    return 0;
}

template <typename Function> void* Address(Function function) {
    return reinterpret_cast<void*>(function);
}

} // namespace

void* EngineFunctionAddress(std::size_t entry) {
    switch (entry) {
    case a6::kEngineGetObjEntry:
        return Address(&EngineGetObj);
    case a6::kEngineGetScriptEntry:
        return Address(&EngineGetScript);
    case a6::kEngineGetFuncEntry:
        return Address(&EngineGetFunc);
    case a6::kEngineCallName4Entry:
        return Address(&EngineCallName4);
    case a6::kEngineCallScript4Entry:
        return Address(&EngineCallScript4);
    default:
        return Address(&NotImplemented);
    }
}

} // namespace host
