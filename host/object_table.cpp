#include "object_table.h"

#include <utility>

#include "host_error.h"

namespace host {

var CallScript(void* script, intptr_t a, intptr_t b, intptr_t c, intptr_t d) {
    return script ? reinterpret_cast<ScriptFunction>(script)(a, b, c, d) : 0;
}

void* DescriptorObject(const a6::ObjectDescriptor& descriptor) {
    const bool alternative =
        descriptor.kind == a6::kKindObjectPointer || descriptor.kind == a6::kKindEngineObject;
    return reinterpret_cast<void*>(alternative ? descriptor.alternative : descriptor.value);
}

a6::ObjectDescriptor* UnknownObject() {
    static a6::ObjectDescriptor unknown;
    unknown = a6::ObjectDescriptor{}; // whatever a caller wrote into the last one is gone
    return &unknown;
}

ObjectTable::Entry& ObjectTable::Add(const std::string& name, Storage storage) {
    if (name.empty()) {
        throw Error("an engine object needs a name");
    }
    const auto [entry, added] = entries_.try_emplace(name);
    if (!added) {
        throw Error("there is an engine object named \"" + name + "\" already");
    }
    entry->second.storage = std::move(storage);
    return entry->second;
}

a6::Vector& ObjectTable::AddVector(const std::string& name, a6::Vector value) {
    Entry& entry = Add(name, value);
    a6::Vector& vector = std::get<a6::Vector>(entry.storage);
    entry.descriptor = {0, reinterpret_cast<intptr_t>(&vector), a6::kKindObjectPointer};
    return vector;
}

a6::View& ObjectTable::AddView(const std::string& name, const a6::View& view) {
    Entry& entry = Add(name, view);
    a6::View& stored = std::get<a6::View>(entry.storage);
    entry.descriptor = {0, reinterpret_cast<intptr_t>(&stored), a6::kKindEngineObject};
    return stored;
}

EngineString& ObjectTable::AddString(const std::string& name, std::string text) {
    Entry& entry = Add(name, std::make_unique<EngineString>(std::move(text)));
    EngineString& string = *std::get<std::unique_ptr<EngineString>>(entry.storage);
    entry.descriptor = {0, reinterpret_cast<intptr_t>(string.record()), a6::kKindEngineObject};
    return string;
}

void ObjectTable::AddScript(const std::string& name, ScriptFunction function) {
    Add(name, std::monostate{}).descriptor = {reinterpret_cast<intptr_t>(function), 0, a6::kKindScript};
}

void ObjectTable::AddObject(const std::string& name, void* object) {
    Add(name, std::monostate{}).descriptor = {0, reinterpret_cast<intptr_t>(object), a6::kKindEngineObject};
}

a6::ObjectDescriptor* ObjectTable::Lookup(const char* name) {
    const auto entry = name ? entries_.find(name) : entries_.end();
    return entry != entries_.end() ? &entry->second.descriptor : UnknownObject();
}

void* ObjectTable::Find(const char* name) const {
    const auto entry = name ? entries_.find(name) : entries_.end();
    return entry != entries_.end() ? DescriptorObject(entry->second.descriptor) : nullptr;
}

template <typename T> T* ObjectTable::FindStored(const char* name) {
    const auto entry = name ? entries_.find(name) : entries_.end();
    return entry != entries_.end() ? std::get_if<T>(&entry->second.storage) : nullptr;
}

a6::Vector* ObjectTable::FindVector(const char* name) {
    return FindStored<a6::Vector>(name);
}

a6::View* ObjectTable::FindView(const char* name) {
    return FindStored<a6::View>(name);
}

} // namespace host
