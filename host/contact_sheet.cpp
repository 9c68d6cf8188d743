#include "contact_sheet.h"

#include <cstdio>
#include <filesystem>

#include "html_text.h"

namespace host {

std::string ContactSheet(const std::vector<SheetView>& views) {
    std::string page =
        html::PageBegin("Vantor 3.0 post-processing steps",
                        ".chain { display: flex; gap: 12px; align-items: flex-start; overflow-x: auto; }\n"
                        "figure { margin: 0; padding: 6px; background: #fff; border: 1px solid #ccc; }\n"
                        "figure img { display: block; background: #000; }\n"
                        "figcaption { margin-top: 4px; line-height: 1.4; }\n");
    for (const SheetView& view : views) {
        page += "<h2>View " + html::Escape(view.name) + "</h2>\n<div class=\"chain\">\n";
        for (std::size_t position = 0; position < view.images.size(); ++position) {
            const SheetImage& image = view.images[position];
            char size[64];
            std::snprintf(size, sizeof size, "%u &times; %u", image.width, image.height);
            page += "<figure><img src=\"" + html::PngDataUrl(image.file) + "\" width=\"" +
                    std::to_string(image.width / 4) + "\" height=\"" + std::to_string(image.height / 4) +
                    "\" alt=\"" + html::Escape(std::filesystem::path(image.file).filename().string()) +
                    "\">\n<figcaption><b>" + std::to_string(position) + " " + html::Escape(image.step.label) +
                    "</b>" + (image.step.id ? " (step " + std::to_string(image.step.id) + ")" : "") + "<br>" +
                    html::Escape(image.step.file.empty() ? "no effect file" : image.step.file) + "<br>" +
                    size;
            if (image.milliseconds >= 0) {
                char time[32];
                std::snprintf(time, sizeof time, "%.3f ms", image.milliseconds);
                page += std::string("<br>") + time;
            }
            page += "</figcaption></figure>\n";
        }
        page += "</div>\n";
    }
    return page + html::PageEnd();
}

} // namespace host
