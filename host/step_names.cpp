#include "step_names.h"

namespace host {
namespace {

constexpr int kSteps = 10; // a view's list holds ten positions

} // namespace

const KnownStep kPostProcessorSteps[12] = {
    {30000, "quarter_copy", ""},
    {30001, "half_copy", ""},
    {30013, "full_copy", ""},
    {30002, "vtr3_brightpass", "VTR3Content\\vtr3_brightpass.fx"},
    {30004, "vtr3_vbloom", "VTR3Content\\vtr3_vbloom.fx"},
    {30005, "vtr3_hbloom", "VTR3Content\\vtr3_hbloom.fx"},
    {30006, "vtr3_hblur", "VTR3Content\\vtr3_hblur.fx"},
    {30007, "vtr3_vblur", "VTR3Content\\vtr3_vblur.fx"},
    {30008, "vtr3_simpleblur", "VTR3Content\\vtr3_simpleblur.fx"},
    {30009, "vtr3_negative", "VTR3Content\\vtr3_negative.fx"},
    {30010, "vtr3_monochrom", "VTR3Content\\vtr3_monochrom.fx"},
    {30011, "vtr3_combine", "VTR3Content\\vtr3_combine.fx"},
};

namespace {

int Whole(const script::Token& token) {
    return static_cast<int>(token.number);
}

// "VTR3Content\vtr3_hbloom.fx" -> "vtr3_hbloom"; what a file name may not hold becomes '_'.
std::string Stem(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string stem = path.substr(slash == std::string::npos ? 0 : slash + 1);
    stem = stem.substr(0, stem.find('.'));
    for (char& c : stem) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '_' || c == '-';
        c = plain ? c : '_';
    }
    return stem.empty() ? "effect" : stem;
}

} // namespace

void StepNames::Called(const std::string& name, const std::vector<script::Token>& arguments) {
    if (name == "VTR3ViewRegister") {
        views_[Whole(arguments[0])] = arguments[1].text;
    } else if (name == "VTR3ViewUnregister") {
        views_.erase(Whole(arguments[0]));
        steps_.erase(Whole(arguments[0]));
    } else if (name == "VTR3ViewSetPostProcessingEffect") {
        const int position = Whole(arguments[1]);
        if (position >= 0 && position < kSteps) {
            steps_[Whole(arguments[0])][position] = Whole(arguments[2]);
        }
    } else if (name == "VTR3EffectSetPath") {
        paths_[Whole(arguments[0])] = arguments[1].text;
    }
}

std::vector<StepName> StepNames::Chain(const std::string& view) const {
    std::vector<StepName> chain{StepName{0, "scene", ""}};
    std::map<int, int> list;
    for (const auto& [id, name] : views_) {
        if (name == view && steps_.count(id)) {
            list = steps_.at(id);
        }
    }
    for (int position = 0; position < kSteps; ++position) {
        const auto step = list.find(position);
        if (step == list.end() || step->second == 0) {
            break;
        }
        StepName named{step->second, "effect", ""};
        bool copy = false;
        for (const KnownStep& known : kPostProcessorSteps) {
            if (known.id == named.id) {
                named = StepName{known.id, known.label, known.file};
                copy = named.file.empty();
            }
        }
        // Step and effect ids are separate numbers: a copy's id names no effect.
        const auto path = paths_.find(named.id);
        if (path != paths_.end() && !copy) {
            named = StepName{named.id, Stem(path->second), path->second};
        }
        chain.push_back(named);
    }
    if (chain.size() == 1) {
        chain.push_back(StepName{30013, "full_copy", ""});
    }
    return chain;
}

} // namespace host
