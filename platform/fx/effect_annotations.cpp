// Annotations of parameters, techniques and passes. Each annotation is a read-only parameter slot
// after the effect's own parameters (so GetString, GetFloat, GetInt and GetParameterDesc read it as
// they read a parameter) that neither names, indices nor semantics reach.
#include "fx/effect.h"

namespace platform::fx {

void Effect::AddAnnotations(const EffectModel& model) {
    std::vector<const std::vector<Annotation>*> owners; // in handle order: parameters, techniques, passes
    for (const Parameter& p : model.parameters)
        owners.push_back(&p.annotations);
    for (const Technique& t : model.techniques)
        owners.push_back(&t.annotations);
    for (const Technique& t : model.techniques) {
        for (const Pass& p : t.passes)
            owners.push_back(&p.annotations);
    }
    std::size_t total = 0;
    for (const auto* list : owners)
        total += list->size();
    // Techniques and passes have their handles after every slot: parameters, their members and
    // elements, then annotations.
    const std::size_t others = parameters_.size() + total - model.parameters.size();
    annotationRanges_.assign(owners.size() + others + 1, Range{});
    for (std::size_t o = 0; o < owners.size(); ++o) {
        const std::size_t offset = o < model.parameters.size() ? o : o + others;
        annotationRanges_[offset] =
            Range{static_cast<int>(parameters_.size()), static_cast<int>(owners[o]->size())};
        for (const Annotation& a : *owners[o]) {
            ParameterSlot slot;
            slot.value = std::make_shared<ParameterValue>();
            slot.desc.name = a.name;
            slot.desc.cls = a.cls;
            slot.desc.type = a.type;
            slot.desc.rows = a.rows;
            slot.desc.columns = a.columns;
            slot.desc.stringValue = a.text;
            slot.value->text = a.text;
            if (a.cls != D3DXPC_OBJECT) {
                slot.value->words.assign(std::size_t{a.rows} * a.columns, 0);
                for (std::size_t i = 0; i < slot.value->words.size() && i < a.values.size(); ++i)
                    slot.value->words[i] = FloatWord(a.values[i], a.type);
            }
            parameters_.push_back(std::move(slot));
        }
    }
}

int Effect::AnnotatedOffset(D3DXHANDLE handle) const {
    if (!handle)
        return -1;
    if (handle >= handles_.data() && handle < handles_.data() + handles_.size())
        return static_cast<int>(handle - handles_.data());
    const int parameter = FindParameterByName(handle);
    if (parameter >= 0)
        return parameter;
    const int technique = FindTechnique(handle);
    return technique >= 0 ? static_cast<int>(parameters_.size()) + technique : -1;
}

int Effect::AnnotationCount(int offset) const {
    return offset >= 0 && static_cast<std::size_t>(offset) < annotationRanges_.size()
               ? annotationRanges_[static_cast<std::size_t>(offset)].count
               : 0;
}

D3DXHANDLE Effect::GetAnnotation(D3DXHANDLE hObject, UINT Index) {
    const int offset = AnnotatedOffset(hObject);
    if (Index >= static_cast<UINT>(AnnotationCount(offset)))
        return nullptr;
    return ParameterHandle(annotationRanges_[static_cast<std::size_t>(offset)].first +
                           static_cast<int>(Index));
}

D3DXHANDLE Effect::GetAnnotationByName(D3DXHANDLE hObject, LPCSTR pName) {
    const int offset = AnnotatedOffset(hObject);
    if (!pName || AnnotationCount(offset) == 0)
        return nullptr;
    const Range range = annotationRanges_[static_cast<std::size_t>(offset)];
    for (int i = range.first; i < range.first + range.count; ++i) {
        if (parameters_[static_cast<std::size_t>(i)].desc.name == pName)
            return ParameterHandle(i);
    }
    return nullptr;
}

} // namespace platform::fx
