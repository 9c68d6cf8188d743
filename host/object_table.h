// The engine's named script objects, as the object lookup of the interface block finds them:
// vectors (kind 3, the vector in the alternative value), engine views, engine strings and other
// engine objects (kind 9, the object in the alternative value) and script functions (kind 6, the
// function in the value). A name the table does not know, or no name at all, yields a descriptor of
// kind 0 with null values, never a null pointer: the plug-in uses the lookup's result untested.
#ifndef VTR3_HOST_OBJECT_TABLE_H
#define VTR3_HOST_OBJECT_TABLE_H

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>

#include "engine_string.h"
#include "engine_view.h"
#include "frame/a6_engine.h"

namespace host {

// A script function as the script caller calls it: four pointer-sized arguments, a `var` result.
typedef var (*ScriptFunction)(intptr_t a, intptr_t b, intptr_t c, intptr_t d);

// The interface block's script caller: calls `script` (a ScriptFunction) with the four arguments
// and returns its result; a null script returns 0, as calling an unknown script by name does.
var CallScript(void* script, intptr_t a, intptr_t b, intptr_t c, intptr_t d);

// What engine_getobj makes of a descriptor: the alternative value for kinds 3 and 9, else the value.
void* DescriptorObject(const a6::ObjectDescriptor& descriptor);

class ObjectTable {
  public:
    ObjectTable() = default;
    ObjectTable(const ObjectTable&) = delete;
    ObjectTable& operator=(const ObjectTable&) = delete;

    // Each name is given once; an empty name or one already taken throws host::Error. The objects
    // stay where they are for the table's life.
    a6::Vector& AddVector(const std::string& name, a6::Vector value = {});
    a6::View& AddView(const std::string& name, const a6::View& view = NewView());
    EngineString& AddString(const std::string& name, std::string text);
    void AddScript(const std::string& name, ScriptFunction function);
    // An object the caller owns, found as an engine object (kind 9).
    void AddObject(const std::string& name, void* object);

    // Never null; see above.
    a6::ObjectDescriptor* Lookup(const char* name);
    // The object's address as engine_getobj gives it; null for an unknown name.
    void* Find(const char* name) const;
    // Null when the name is unknown or names an object of another type.
    a6::Vector* FindVector(const char* name);
    a6::View* FindView(const char* name);

  private:
    using Storage = std::variant<std::monostate, a6::Vector, a6::View, std::unique_ptr<EngineString>>;
    struct Entry {
        a6::ObjectDescriptor descriptor{};
        Storage storage;
    };

    Entry& Add(const std::string& name, Storage storage);
    template <typename T> T* FindStored(const char* name);

    std::map<std::string, Entry, std::less<>> entries_;
};

// The descriptor every unknown name yields: kind 0, null values.
a6::ObjectDescriptor* UnknownObject();

} // namespace host

#endif
