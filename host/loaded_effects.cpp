#include "loaded_effects.h"

#include "step_names.h"

#include <algorithm>
#include <filesystem>

namespace host {
namespace {

bool IsNumber(const script::Token& token) {
    return token.kind == script::TokenKind::kNumber;
}

} // namespace

void LoadedEffects::Called(const std::string& name, const std::vector<script::Token>& arguments) {
    const bool identified = !arguments.empty() && IsNumber(arguments[0]);
    const int id = identified ? static_cast<int>(arguments[0].number) : 0;
    if (name == "VTR3Initialize") {
        files_.clear();
        for (const KnownStep& step : kPostProcessorSteps) {
            if (*step.file) {
                files_[step.id] = step.file;
            }
        }
    } else if (name == "VTR3DeInitialize") {
        files_.clear();
    } else if (name == "VTR3EffectSetPath" && identified && arguments.size() == 2 &&
               arguments[1].kind == script::TokenKind::kString) {
        const auto file = files_.find(id);
        if (file != files_.end() && file->second == arguments[1].text) {
            return; // a call that `during` repeats every frame changes nothing
        }
        files_[id] = arguments[1].text;
    } else if (!(name == "VTR3EffectDelete" && identified && files_.erase(id) > 0)) {
        return;
    }
    ++version_;
}

std::string FilePath(const std::string& text) {
    std::string path = text;
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code failed; // an empty path, say: kept as it is, matching no file
    const std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    return failed ? text : absolute.lexically_normal().string();
}

} // namespace host
