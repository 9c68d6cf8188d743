// An engine string that the stand-in engine owns: the record the plug-in reads and the text its
// word 3 points at. Neither copied nor moved, because the plug-in may keep both addresses.
#ifndef VTR3_HOST_ENGINE_STRING_H
#define VTR3_HOST_ENGINE_STRING_H

#include <string>

#include "frame/a6_engine.h"

namespace host {

class EngineString {
  public:
    explicit EngineString(std::string text);
    EngineString(const EngineString&) = delete;
    EngineString& operator=(const EngineString&) = delete;

    a6::String* record() { return &record_; }
    const std::string& text() const { return text_; }

  private:
    const std::string text_;
    a6::String record_{};
};

} // namespace host

#endif
