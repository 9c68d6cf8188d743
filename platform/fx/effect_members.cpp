// Struct members and array elements as parameters of their own. Each is a view: a slot whose words
// are its root parameter's at an offset (the root's value is shared, not copied), so a write through
// any view or the root is what every other reads, and the uniforms bound to struct members upload
// when the root's version changes. Object views (textures, strings) keep a value of their own.
#include "fx/effect.h"

#include <algorithm>
#include <cstdint>

namespace platform::fx {
namespace {

constexpr UINT kMaxElementViews = 1024;
constexpr std::size_t kMaxViews = 1 << 16;
// Each view holds a copy of its description (members and sampler states included), so views stop
// when their bytes would pass this: an array of large structs must not multiply into millions of
// copies.
constexpr std::size_t kMaxViewBytes = std::size_t{64} << 20;

std::uint64_t ViewBytes(const Parameter& p) { // 64-bit: no wrap on 32-bit builds
    std::uint64_t n = sizeof(Parameter) + std::uint64_t{p.samplerStates.size()} * sizeof(StateAssignment);
    for (const Parameter& m : p.members)
        n += ViewBytes(m);
    return n;
}

} // namespace

std::size_t Effect::WordCount(const Parameter& p) {
    std::size_t per = 0;
    if (p.cls == D3DXPC_STRUCT) {
        for (const Parameter& m : p.members)
            per += WordCount(m);
    } else if (p.cls != D3DXPC_OBJECT) {
        per = std::size_t{p.rows} * p.columns;
    }
    return per * (p.elements ? p.elements : 1);
}

void Effect::AddViews() {
    tree_.assign(parameters_.size(), SlotTree{});
    for (int root = 0; root < parameterCount_; ++root) {
        tree_[static_cast<std::size_t>(root)].path = parameters_[static_cast<std::size_t>(root)].desc.name;
        const int first = static_cast<int>(parameters_.size());
        AddChildren(root, root, 0);
        tree_[static_cast<std::size_t>(root)].views =
            Range{first, static_cast<int>(parameters_.size()) - first};
        // A struct's flat default list holds each member's values in its own type.
        ParameterSlot& slot = parameters_[static_cast<std::size_t>(root)];
        const std::vector<float>& defaults = slot.desc.defaults;
        // A struct joined in a pool keeps the pool's words.
        const bool ownWords = !joinedPool_[static_cast<std::size_t>(root)];
        for (int v = first;
             ownWords && slot.desc.cls == D3DXPC_STRUCT && v < static_cast<int>(parameters_.size()); ++v) {
            const Parameter& member = parameters_[static_cast<std::size_t>(v)].desc;
            if (member.cls == D3DXPC_STRUCT || member.cls == D3DXPC_OBJECT)
                continue;
            const std::size_t at = tree_[static_cast<std::size_t>(v)].offset;
            for (std::size_t i = 0;
                 i < WordCount(member) && at + i < defaults.size() && at + i < slot.value->words.size(); ++i)
                slot.value->words[at + i] = FloatWord(defaults[at + i], member.type);
        }
    }
}

void Effect::AddChildren(int self, int root, std::size_t offset) {
    // Children are built before any slot is added, while this reference stays valid.
    const Parameter& desc = parameters_[static_cast<std::size_t>(self)].desc;
    const bool elements = desc.elements > 0;
    const std::string path = tree_[static_cast<std::size_t>(self)].path;
    std::size_t count = 0;
    if (elements && desc.elements <= kMaxElementViews)
        count = desc.elements;
    else if (!elements && desc.cls == D3DXPC_STRUCT)
        count = desc.members.size();
    if (count == 0 || parameters_.size() + count > kMaxViews)
        return;
    std::uint64_t bytes = elements ? count * ViewBytes(desc) : 0;
    for (std::size_t k = 0; !elements && k < count; ++k)
        bytes += ViewBytes(desc.members[k]);
    if (bytes > kMaxViewBytes - viewBytes_)
        return;
    viewBytes_ += bytes;
    std::vector<Parameter> children;
    std::vector<std::string> paths;
    if (elements) {
        Parameter element = desc;
        element.elements = 0;
        element.annotations.clear();
        element.defaults.clear(); // views take their defaults from the root's words
        for (UINT k = 0; k < desc.elements; ++k) {
            children.push_back(element);
            paths.push_back(path + "[" + std::to_string(k) + "]");
        }
    } else {
        for (const Parameter& m : desc.members) {
            children.push_back(m);
            paths.push_back(path + "." + m.name);
        }
    }
    const int first = static_cast<int>(parameters_.size());
    (elements ? tree_[static_cast<std::size_t>(self)].elements
              : tree_[static_cast<std::size_t>(self)].members) =
        Range{first, static_cast<int>(children.size())};
    std::vector<std::size_t> offsets;
    for (std::size_t k = 0; k < children.size(); ++k) {
        ParameterSlot slot;
        slot.desc = children[k];
        slot.value = slot.desc.cls == D3DXPC_OBJECT ? std::make_shared<ParameterValue>()
                                                    : parameters_[static_cast<std::size_t>(root)].value;
        parameters_.push_back(std::move(slot));
        SlotTree node;
        node.root = root;
        node.offset = offset;
        node.words = WordCount(children[k]);
        node.path = paths[k];
        tree_.push_back(std::move(node));
        offsets.push_back(offset);
        offset += WordCount(children[k]);
    }
    for (std::size_t k = 0; k < children.size(); ++k)
        AddChildren(first + static_cast<int>(k), root, offsets[k]);
}

Effect::WordSpan Effect::Words(int index) const {
    const ParameterSlot& slot = parameters_[static_cast<std::size_t>(index)];
    std::vector<std::uint32_t>& words = slot.value->words;
    if (static_cast<std::size_t>(index) >= tree_.size() || tree_[static_cast<std::size_t>(index)].root < 0 ||
        slot.desc.cls == D3DXPC_OBJECT)
        return WordSpan{words.data(), words.size()};
    const SlotTree& node = tree_[static_cast<std::size_t>(index)];
    const std::size_t at = std::min(node.offset, words.size());
    return WordSpan{words.data() + at, std::min(node.words, words.size() - at)};
}

int Effect::FindPath(const char* name) const {
    if (!name)
        return -1;
    for (std::size_t i = 0; i < tree_.size(); ++i) {
        if (tree_[i].path == name)
            return static_cast<int>(i);
    }
    return -1;
}

int Effect::Child(D3DXHANDLE parent, UINT index, bool element) const {
    const int p = FindParameter(parent);
    if (p < 0 || static_cast<std::size_t>(p) >= tree_.size())
        return -1;
    const Range r =
        element ? tree_[static_cast<std::size_t>(p)].elements : tree_[static_cast<std::size_t>(p)].members;
    return index < static_cast<UINT>(r.count) ? r.first + static_cast<int>(index) : -1;
}

D3DXHANDLE Effect::GetParameter(D3DXHANDLE hParameter, UINT Index) {
    if (!hParameter)
        return Index < static_cast<UINT>(parameterCount_) ? ParameterHandle(static_cast<int>(Index))
                                                          : nullptr;
    const int member = Child(hParameter, Index, false);
    return member < 0 ? nullptr : ParameterHandle(member);
}

D3DXHANDLE Effect::GetParameterElement(D3DXHANDLE hParameter, UINT Index) {
    const int element = Child(hParameter, Index, true);
    return element < 0 ? nullptr : ParameterHandle(element);
}

D3DXHANDLE Effect::GetParameterByName(D3DXHANDLE hParameter, LPCSTR pName) {
    if (!pName)
        return nullptr;
    if (!hParameter) {
        const int index = FindParameterByName(pName);
        return index < 0 ? nullptr : ParameterHandle(index);
    }
    const int p = FindParameter(hParameter);
    if (p < 0 || static_cast<std::size_t>(p) >= tree_.size())
        return nullptr;
    const Range r = tree_[static_cast<std::size_t>(p)].members;
    for (int m = r.first; m < r.first + r.count; ++m) {
        if (parameters_[static_cast<std::size_t>(m)].desc.name == pName)
            return ParameterHandle(m);
    }
    return nullptr;
}

UINT Effect::StructMembers(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < tree_.size()
               ? static_cast<UINT>(parameters_[static_cast<std::size_t>(index)].desc.members.size())
               : 0;
}

} // namespace platform::fx
