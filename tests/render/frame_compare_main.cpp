// vtr3-frame-compare TOLERANCE ALLOWED EXPECTED.png ACTUAL.png: the two frames match when they have
// the same size and at most ALLOWED pixels differ in some channel by more than TOLERANCE. Prints
// what it found; exits with 0 on a match, 1 on a mismatch, 2 when a file cannot be read.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "png_file.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: vtr3-frame-compare TOLERANCE ALLOWED EXPECTED.png ACTUAL.png\n");
        return 2;
    }
    const int tolerance = std::atoi(argv[1]);
    const long allowed = std::atol(argv[2]);
    render_test::RgbaImage expected;
    render_test::RgbaImage actual;
    for (int i : {3, 4}) {
        if (!render_test::ReadPng(argv[i], i == 3 ? &expected : &actual)) {
            std::fprintf(stderr, "%s: cannot read it as a PNG\n", argv[i]);
            return 2;
        }
    }
    if (expected.width != actual.width || expected.height != actual.height) {
        std::printf("%s: %ux%u, expected %ux%u\n", argv[4], actual.width, actual.height, expected.width,
                    expected.height);
        return 1;
    }
    long differing = 0;
    int largest = 0;
    for (std::size_t pixel = 0; pixel < expected.rgba.size(); pixel += 4) {
        int worst = 0;
        for (std::size_t channel = 0; channel < 3; ++channel) { // alpha: X8R8G8B8 leaves it undefined
            worst = std::max(worst, std::abs(expected.rgba[pixel + channel] - actual.rgba[pixel + channel]));
        }
        largest = std::max(largest, worst);
        differing += worst > tolerance ? 1 : 0;
    }
    const bool match = differing <= allowed;
    std::printf("%s: %ld pixels differ by more than %d (at most %ld allowed), largest difference %d: %s\n",
                argv[4], differing, tolerance, allowed, largest, match ? "match" : "MISMATCH");
    return match ? 0 : 1;
}
