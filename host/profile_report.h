// What vantor-run --profile shows: a table on standard output (median and 95th percentile of every
// item over the frames) and a self-contained HTML page with a bar chart per item over the frames and
// one per frame of its sections; nothing in the page is fetched.
#ifndef VTR3_HOST_PROFILE_REPORT_H
#define VTR3_HOST_PROFILE_REPORT_H

#include <string>

#include "profiler.h"
#include "step_names.h"

namespace host {

// "frame", "camera VTR3RenderDrawE 5", "camera step 3: 30005 vtr3_hbloom (VTR3Content\vtr3_hbloom.fx)".
std::string ProfileItemName(const ProfileItem& item, const StepNames& names);
std::string ProfileTable(const Profiler& profiler, const StepNames& names);
// `cost` says what profiling itself cost.
std::string ProfileHtml(const Profiler& profiler, const StepNames& names, const std::string& cost);

} // namespace host

#endif
