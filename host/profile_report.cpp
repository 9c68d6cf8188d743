#include "profile_report.h"

#include <algorithm>
#include <cstdio>

#include "html_text.h"

namespace host {
namespace {

const char* const kSectionNames[] = {"VTR3RenderDrawA", "engine drawing", "VTR3RenderDrawE",
                                     "VTR3RenderDrawD"};
// The colour of an item's bars by kind: the frame, the four sections, a step.
const char* Colour(int kind) {
    static const char* const kColours[] = {"#4e79a7", "#59a14f", "#f28e2b", "#e15759"};
    return kind == -1 ? "#888888" : kind == Profiler::kStep ? "#b07aa1" : kColours[kind];
}

std::string Milliseconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, value < 0 ? "-" : "%.3f", value);
    return text;
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

float Largest(const std::vector<float>& samples) {
    return samples.empty() ? 0.0f : std::max(*std::max_element(samples.begin(), samples.end()), 0.0f);
}

// The item's device time by frame (its CPU time where the device gave none), one bar a frame.
std::string ItemChart(const ProfileItem& item, bool device) {
    const std::vector<float>& samples = device ? item.gpu : item.cpu;
    const float top = std::max(Largest(samples), 1e-6f);
    const double width = std::max(1.0, 360.0 / std::max<std::size_t>(samples.size(), 1));
    std::string svg = "<svg class=\"item\" width=\"" + Number(width * samples.size()) +
                      "\" height=\"40\" viewBox=\"0 0 " + Number(width * samples.size()) + " 40\">";
    for (std::size_t frame = 0; frame < samples.size(); ++frame) {
        if (samples[frame] < 0) {
            continue;
        }
        const double height = 40.0 * samples[frame] / top;
        svg += "<rect x=\"" + Number(width * frame) + "\" y=\"" + Number(40 - height) + "\" width=\"" +
               Number(std::max(width - 1, 0.5)) + "\" height=\"" + Number(height) + "\" fill=\"" +
               Colour(item.kind) + "\"><title>frame " + std::to_string(frame + 1) + ": " +
               Milliseconds(samples[frame]) + " ms</title></rect>";
    }
    return svg + "</svg>";
}

// One column a frame: its sections stacked, bottom up in the order they ran.
std::string FrameChart(const Profiler& profiler, const StepNames& names, bool device) {
    const std::vector<ProfileItem>& items = profiler.items();
    const float top = std::max(Largest(device ? items[0].gpu : items[0].cpu), 1e-6f);
    const int frames = profiler.frames();
    const double width = std::max(2.0, 720.0 / std::max(frames, 1));
    std::string svg = "<svg class=\"frames\" width=\"" + Number(width * frames) + "\" height=\"160\">";
    for (int frame = 0; frame < frames; ++frame) {
        double bottom = 160;
        for (const ProfileItem& item : items) {
            const float value = (device ? item.gpu : item.cpu)[frame];
            if (item.kind < 0 || item.kind == Profiler::kStep || value <= 0) {
                continue;
            }
            const double height = 160.0 * value / top;
            bottom -= height;
            svg += "<rect x=\"" + Number(width * frame) + "\" y=\"" + Number(bottom) + "\" width=\"" +
                   Number(std::max(width - 1, 1.0)) + "\" height=\"" + Number(height) + "\" fill=\"" +
                   Colour(item.kind) + "\"><title>frame " + std::to_string(frame + 1) + ", " +
                   html::Escape(ProfileItemName(item, names)) + ": " + Milliseconds(value) +
                   " ms</title></rect>";
        }
    }
    return svg + "</svg>";
}

} // namespace

std::string ProfileItemName(const ProfileItem& item, const StepNames& names) {
    if (item.kind < 0) {
        return "frame";
    }
    if (item.kind != Profiler::kStep) {
        return item.view + " " + kSectionNames[item.kind] +
               (item.kind == static_cast<int>(Section::kDrawE) ? " " + std::to_string(item.number) : "");
    }
    const std::vector<StepName> chain = names.Chain(item.view);
    std::string name = item.view + " step " + std::to_string(item.number);
    if (item.number < static_cast<int>(chain.size())) {
        const StepName& step = chain[item.number];
        name += ": " + std::to_string(step.id) + " " + step.label +
                (step.file.empty() ? "" : " (" + step.file + ")");
    }
    return name;
}

std::string ProfileTable(const Profiler& profiler, const StepNames& names) {
    std::string table;
    char line[256];
    std::snprintf(line, sizeof line, "%-72s %9s %9s %9s %9s\n", "milliseconds over the frames", "device",
                  "device", "CPU", "CPU");
    table += line;
    std::snprintf(line, sizeof line, "%-72s %9s %9s %9s %9s\n", "", "median", "95%", "median", "95%");
    table += line;
    for (const ProfileItem& item : profiler.items()) {
        const Summary device = Summarize(item.gpu);
        const Summary cpu = Summarize(item.cpu);
        const std::string name = (item.kind == Profiler::kStep ? "  " : "") + ProfileItemName(item, names);
        std::snprintf(line, sizeof line, "%-72s %9s %9s %9s %9s\n", name.c_str(),
                      Milliseconds(device.median).c_str(), Milliseconds(device.p95).c_str(),
                      Milliseconds(cpu.median).c_str(), Milliseconds(cpu.p95).c_str());
        table += line;
    }
    return table;
}

std::string ProfileHtml(const Profiler& profiler, const StepNames& names, const std::string& cost) {
    std::string page =
        html::PageBegin("Vantor 3.0 profile",
                        "table { border-collapse: collapse; }\n"
                        "td, th { padding: 2px 8px; border-bottom: 1px solid #ddd; "
                        "text-align: right; vertical-align: middle; }\n"
                        "td.name, th.name { text-align: left; white-space: nowrap; }\n"
                        "tr.step td.name { padding-left: 24px; }\n"
                        "svg { display: block; background: #fff; }\n"
                        ".key { display: inline-block; width: 10px; height: 10px; margin: 0 4px 0 12px; }\n");
    page += "<p>" + std::to_string(profiler.frames()) + " frames; " +
            (profiler.timed() ? "device times from Direct3D 9 timestamp queries"
                              : "the device answers no timestamp queries: CPU times only") +
            ". " + html::Escape(cost) + "</p>\n";
    const bool device = profiler.timed();
    page += "<p>";
    const char* const kinds[] = {"frame",          kSectionNames[0], kSectionNames[1],
                                 kSectionNames[2], kSectionNames[3], "step"};
    for (int kind = -1; kind <= 4; ++kind) {
        page += std::string("<span class=\"key\" style=\"background:") +
                Colour(kind == 4 ? Profiler::kStep : kind) + "\"></span>" + kinds[kind + 1] + " ";
    }
    page += "</p>\n<h2>Each frame</h2>\n<p>The sections of the views, stacked in the order they ran (" +
            std::string(device ? "device" : "CPU") + " time; the steps lie within VTR3RenderDrawD).</p>\n" +
            FrameChart(profiler, names, device) +
            "\n<h2>Each item</h2>\n<p>Each chart scaled to its item's largest time.</p>\n<table>\n<tr><th "
            "class=\"name\">item</th><th>device median</th><th>device "
            "95%</th><th>CPU median</th><th>CPU 95%</th><th class=\"name\">" +
            (device ? "device" : "CPU") + " time by frame</th></tr>\n";
    for (const ProfileItem& item : profiler.items()) {
        const Summary gpu = Summarize(item.gpu);
        const Summary cpu = Summarize(item.cpu);
        page += std::string("<tr") + (item.kind == Profiler::kStep ? " class=\"step\"" : "") +
                "><td class=\"name\">" + html::Escape(ProfileItemName(item, names)) + "</td><td>" +
                Milliseconds(gpu.median) + "</td><td>" + Milliseconds(gpu.p95) + "</td><td>" +
                Milliseconds(cpu.median) + "</td><td>" + Milliseconds(cpu.p95) + "</td><td>" +
                ItemChart(item, device) + "</td></tr>\n";
    }
    return page + "</table>\n" + html::PageEnd();
}

} // namespace host
