// Replays hostile scripts through the parser's fuzzing entry point: hand-made ones, then seeds of
// every command with deterministic damage (truncation, flipped bytes, quotes and backslashes
// inserted, spliced seeds) until the time budget (VTR3_FUZZ_SECONDS, default 5) is spent.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

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

std::string Damage(const std::string& seed, const std::string& other, std::mt19937* random) {
    std::string out = seed;
    switch ((*random)() % 4) {
    case 0:
        out.resize((*random)() % (out.size() + 1));
        break;
    case 1:
        for (int i = 0; i < 4 && !out.empty(); ++i)
            out[(*random)() % out.size()] = static_cast<char>((*random)() % 256);
        break;
    case 2:
        out.insert((*random)() % (out.size() + 1),
                   std::string(1 + (*random)() % 50, "\"\\#.-\n"[(*random)() % 6]));
        break;
    default:
        out = out.substr(0, (*random)() % (out.size() + 1)) + other.substr((*random)() % (other.size() + 1));
        break;
    }
    return out;
}

} // namespace

int main() {
    const char* budget = std::getenv("VTR3_FUZZ_SECONDS");
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(budget ? std::atoi(budget) : 5);
    std::size_t runs = 0;
    for (const std::string& input : kHostile) {
        Replay(input);
        ++runs;
    }
    std::mt19937 random(20261206);
    const std::size_t seeds = sizeof kSeeds / sizeof kSeeds[0];
    for (int round = 0; round < 50000 && std::chrono::steady_clock::now() < deadline; ++round) {
        Replay(Damage(kSeeds[round % seeds], kSeeds[(round / seeds) % seeds], &random));
        ++runs;
    }
    std::printf("%zu scripts replayed\n", runs);
    return 0;
}
