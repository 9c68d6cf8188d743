// Replays hostile scripts through the parser's fuzzing entry point: hand-made ones, then seeds of
// every command with deterministic damage (truncation, flipped bytes, quotes and backslashes
// inserted, spliced seeds) until the time budget (VTR3_FUZZ_SECONDS, default 5) is spent.
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>

#include "fuzz_replay.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

const char* const kSeeds[] = {
    "VTR3Initialize 1 \"title\"\nview mirror\nposition mirror 1 -2.5 .5\nangles mirror 0 -10 0\n",
    "arc camera 75\nsize camera 256 128\nlayer camera 1\nmesh m box 100 0 0 -50\nclear 1 2 3\n",
    "render camera\nduring camera VTR3RenderDrawE 7\nframe\nframe 3\nclock 1000\ntick 40\nreset\n",
    "screenshot \"out\\\\a \\\"b\\\".png\"\nVTR3ViewSetClipPlane 1 \"p\" \"n\" 1  # comment\r\n",
};

const std::string kHostile[] = {
    std::string("\"", 1),
    std::string("view a\0b", 8),
    std::string(100000, '"'),
    std::string(100000, '-'),
    "during camera during camera during camera VTR3RenderDrawE 1",
    "clock 99999999999999999999999999999999999999999999999999999999999999999999",
    "clock -.\nclock +\nclock 1.\n. 1\n",
    "\\\n\\\"\n\"\\",
};

void Replay(const std::string& input) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
}

} // namespace

int main() {
    const auto deadline = FuzzDeadline(5);
    for (const std::string& input : kHostile) {
        Replay(input);
    }
    std::mt19937 random(20261206);
    const std::size_t seeds = std::size(kSeeds);
    const TextDamage kinds{4, 50, "\"\\#.-\n", false};
    const std::size_t runs = ReplayRounds(50000, deadline, [&](int round) {
        Replay(DamageText(kSeeds[round % seeds], kSeeds[(round / seeds) % seeds], kinds, &random));
    });
    std::printf("%zu scripts replayed\n", std::size(kHostile) + runs);
    return 0;
}
