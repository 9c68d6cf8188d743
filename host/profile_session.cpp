#include "profile_session.h"

#include <cstdio>

#include "html_text.h"
#include "profile_report.h"

namespace host {

ProfileSession::ProfileSession(Engine& engine, int frames)
    : engine_(engine), profiler_(engine.device(), frames) {
    engine_.notingDevice()->AddWatch(&profiler_);
}

ProfileSession::~ProfileSession() {
    engine_.notingDevice()->RemoveWatch(&profiler_);
}

void ProfileSession::Attach(script::RunSettings* settings) {
    settings->probes.push_back(&profiler_);
    Profiler* profiler = &profiler_;
    settings->stepTime = [profiler](const std::string& view, int position) {
        profiler->Finish(); // the frames whose timestamps are still on their way
        return profiler->StepMedian(view, position);
    };
}

bool ProfileSession::Report(const script::ScriptRun& run, const std::string& page) {
    profiler_.Finish();
    const int frames = run.framesDrawn();
    char cost[256];
    std::snprintf(cost, sizeof cost,
                  "The profiler's own calls took %.3f ms a frame of the %.2f ms a frame drawn with them.",
                  frames ? profiler_.ownMilliseconds() / frames : 0.0,
                  frames ? run.frameSeconds() * 1000.0 / frames : 0.0);
    std::printf("%s%s\n", ProfileTable(profiler_, run.stepNames()).c_str(), cost);
    return html::WriteText(page, ProfileHtml(profiler_, run.stepNames(), cost));
}

} // namespace host
