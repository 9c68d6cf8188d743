// The PNG encoder on the demo's frame at each zlib level and filter choice that could serve rendered
// frames: the time of one encode and the file's size (the "bytes" counter), to choose the setting the
// platform writes with (image::kPngCompression).
#include "image/codecs.h"

#include <benchmark/benchmark.h>
#include <png.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using platform::image::Image;

const Image& DemoFrame() {
    static const Image frame = [] {
        std::ifstream in(VTR3_DEMO_FRAME, std::ios::binary);
        const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
        Image image;
        D3DFORMAT format{};
        if (FAILED(platform::image::DecodePng(file.data(), file.size(), &image, &format)))
            std::abort();
        return image;
    }();
    return frame;
}

void Encode(benchmark::State& state) {
    const Image& frame = DemoFrame();
    const platform::image::PngCompression compression{
        static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    std::vector<std::uint8_t> file;
    for (auto _ : state) {
        if (!platform::image::EncodePng(frame.bytes.data(), frame.width, frame.height, false, &file,
                                        compression))
            state.SkipWithError("encode failed");
        benchmark::DoNotOptimize(file.data());
    }
    state.counters["bytes"] = static_cast<double>(file.size());
}

void Settings(benchmark::internal::Benchmark* b) {
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_RLE, Z_HUFFMAN_ONLY})
        for (int filters :
             {PNG_ALL_FILTERS, PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_PAETH})
            for (int level : {1, 2, 3, 6})
                b->Args({level, filters, strategy});
    b->Args({0, PNG_FILTER_NONE, Z_DEFAULT_STRATEGY});
    b->ArgNames({"level", "filters", "strategy"})->Unit(benchmark::kMillisecond);
}
BENCHMARK(Encode)->Apply(Settings);

} // namespace
