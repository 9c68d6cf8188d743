#include "engine_string.h"

#include <utility>

namespace host {

EngineString::EngineString(std::string text) : text_(std::move(text)) {
    record_.text = text_.c_str();
}

} // namespace host
