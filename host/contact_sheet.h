// The contact sheet of a post-processing chain: every step's image side by side, each shown at a
// quarter of its target's size with its position, step, effect file, size and (when profiled) time.
#ifndef VTR3_HOST_CONTACT_SHEET_H
#define VTR3_HOST_CONTACT_SHEET_H

#include <string>
#include <vector>

#include "step_names.h"

namespace host {

struct SheetImage {
    std::string file; // the PNG, inlined into the page
    StepName step;
    unsigned int width = 0;
    unsigned int height = 0;
    double milliseconds = -1; // the step's median time on the device; negative when not profiled
};

struct SheetView {
    std::string name;
    std::vector<SheetImage> images;
};

// A self-contained page: the images are inlined, nothing is fetched.
std::string ContactSheet(const std::vector<SheetView>& views);

} // namespace host

#endif
