// Replays hostile inputs through the fuzzing entry point without libFuzzer: the files named on the
// command line, then seeds of every format (made here) with deterministic damage (truncations, flipped
// bytes, inflated header fields), until every case has run or the time budget is spent.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "fuzz_replay.h"
#include "image/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out->push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

Bytes Dds(std::uint32_t fourCC, std::uint32_t size, std::uint32_t mips, std::uint32_t caps2,
          std::size_t dataBytes) {
    Bytes out{'D', 'D', 'S', ' '};
    const std::uint32_t header[31] = {
        124,    0x21007, size,     size,   0,    1,          mips,   0,     0,  0,
        0,      0,       0,        0,      0,    0,          0,      0,     32, fourCC ? 4u : 0x41u,
        fourCC, 32,      0xff0000, 0xff00, 0xff, 0xff000000, 0x1000, caps2, 0,  0,
        0};
    for (std::uint32_t word : header)
        Put32(&out, word);
    out.resize(out.size() + dataBytes, 0x37);
    return out;
}

std::vector<Bytes> Seeds() {
    std::vector<Bytes> seeds;
    Bytes texels(8 * 8 * 4);
    for (std::size_t i = 0; i < texels.size(); ++i)
        texels[i] = static_cast<std::uint8_t>(i * 7);
    Bytes file;
    platform::image::EncodePng(texels.data(), 8, 8, true, &file);
    seeds.push_back(file);
    platform::image::EncodeBmp(texels.data(), 8, 8, false, &file);
    seeds.push_back(file);
    seeds.push_back(Dds(0, 8, 4, 0, (64 + 16 + 4 + 1) * 4));
    seeds.push_back(Dds(0x31545844, 8, 1, 0, 32));              // DXT1
    seeds.push_back(Dds(0x35545844, 4, 1, 0xfe00 | 0x200, 96)); // DXT5 cube
    Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0x20};
    tga.resize(tga.size() + 12, 0x80);
    seeds.push_back(tga);
    // A JPEG's skeleton: SOI, a DQT and SOF0 header with no scan.
    seeds.push_back({0xff, 0xd8, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x10, 0x0b, 0xff, 0xc0, 0x00,
                     0x0b, 0x08, 0x00, 0x08, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00, 0xff, 0xd9});
    return seeds;
}

Bytes Damage(const Bytes& seed, std::mt19937* random) {
    Bytes out = seed;
    switch ((*random)() % 4) {
    case 0:
        out.resize((*random)() % (out.size() + 1));
        break;
    case 1:
        for (int i = 0; i < 4 && !out.empty(); ++i)
            out[(*random)() % out.size()] ^= static_cast<std::uint8_t>(1 + (*random)() % 255);
        break;
    case 2: // an inflated size field somewhere in the first 128 bytes
        if (out.size() > 8) {
            const std::size_t at = (*random)() % std::min<std::size_t>(out.size() - 4, 128);
            out[at + 2] = 0xff;
            out[at + 3] = 0x7f;
        }
        break;
    default:
        out.insert(out.begin() + static_cast<long>((*random)() % (out.size() + 1)), 0xff);
        break;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    const auto deadline = FuzzDeadline(20);
    std::mt19937 random(20261206);
    const std::vector<Bytes> seeds = Seeds();
    std::size_t runs = 0;
    for (const Bytes& seed : seeds) {
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
        ++runs;
    }
    runs += ReplayRounds(20000, deadline, [&](int round) {
        const Bytes input = Damage(seeds[static_cast<std::size_t>(round) % seeds.size()], &random);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    });
    std::printf("%zu inputs replayed\n", runs);
    return 0;
}
