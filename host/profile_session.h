// vantor-run --profile around one run: the profiler attached to the engine and the script's run,
// and at the end the table on standard output and the HTML page.
#ifndef VTR3_HOST_PROFILE_SESSION_H
#define VTR3_HOST_PROFILE_SESSION_H

#include <string>

#include "engine.h"
#include "profiler.h"
#include "script_run.h"

namespace host {

class ProfileSession {
  public:
    // Samples `frames` frames drawn with the engine's device.
    ProfileSession(Engine& engine, int frames);
    ~ProfileSession();
    ProfileSession(const ProfileSession&) = delete;
    ProfileSession& operator=(const ProfileSession&) = delete;

    // Makes the run report to the profiler, and the contact sheets show the steps' times.
    void Attach(script::RunSettings* settings);
    // Prints the table and writes the page to `page`; false when the page could not be written.
    bool Report(const script::ScriptRun& run, const std::string& page);

  private:
    Engine& engine_;
    Profiler profiler_;
};

} // namespace host

#endif
