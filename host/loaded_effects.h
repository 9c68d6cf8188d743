// Which effect files the plug-in has loaded, under which identifiers, for vantor-run --watch.
//
// The runner learns them from the export calls the script makes, the one place every path passes
// through on both systems: VTR3EffectSetPath names a script's effect file, VTR3Initialize makes the
// post-processor load its fixed set (the identifiers and files reserved to it), VTR3EffectDelete and
// VTR3DeInitialize drop them. The device the plug-in draws with never sees a file name, the log's
// rows give identifiers without paths, and catching D3DXCreateEffectFromFile would need a different
// trick on each system (symbol interposition, import patching) that breaks with the plug-in's linkage.
#ifndef VTR3_HOST_LOADED_EFFECTS_H
#define VTR3_HOST_LOADED_EFFECTS_H

#include <map>
#include <string>
#include <vector>

#include "frame_probe.h"
#include "script_syntax.h"

namespace host {

class LoadedEffects final : public FrameProbe {
  public:
    // Takes note of an export call the script made (any export; most change nothing here).
    void Called(const std::string& name, const std::vector<script::Token>& arguments) override;

    // The path each identifier's file was given by, as the plug-in holds it (relative to the run's
    // directory, perhaps with backslashes).
    const std::map<int, std::string>& files() const { return files_; }
    // Counts the changes of files(), so that a watcher sees when to look again.
    unsigned version() const { return version_; }

  private:
    std::map<int, std::string> files_;
    unsigned version_ = 0;
};

// The path as this system opens it, absolute and normal: backslashes become separators.
std::string FilePath(const std::string& text);

} // namespace host

#endif
