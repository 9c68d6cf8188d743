// What the fuzz replay programs share: their time budget, the loop over damaged seeds that stops
// when the rounds are done or the budget is spent, and the deterministic damage of text seeds.
#ifndef VTR3_TESTS_FUZZ_REPLAY_H
#define VTR3_TESTS_FUZZ_REPLAY_H

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

// The replay's deadline: VTR3_FUZZ_SECONDS from now, or defaultSeconds where that is not set.
inline std::chrono::steady_clock::time_point FuzzDeadline(int defaultSeconds) {
    const char* budget = std::getenv("VTR3_FUZZ_SECONDS");
    return std::chrono::steady_clock::now() +
           std::chrono::seconds(budget ? std::atoi(budget) : defaultSeconds);
}

// Calls replayRound(0), replayRound(1), ... until `rounds` have run or the deadline has passed;
// returns how many ran.
template <typename ReplayRound>
std::size_t ReplayRounds(int rounds, std::chrono::steady_clock::time_point deadline,
                         ReplayRound replayRound) {
    std::size_t runs = 0;
    for (int round = 0; round < rounds && std::chrono::steady_clock::now() < deadline; ++round) {
        replayRound(round);
        ++runs;
    }
    return runs;
}

// How a text parser's seeds are damaged: bytes overwritten, runs of one troublesome byte inserted,
// and optionally the text doubled, besides truncation and splicing with another seed.
struct TextDamage {
    int flips;              // bytes overwritten at random
    std::size_t longestRun; // the longest run inserted
    const char* runBytes;   // the bytes a run may repeat
    bool doubling;          // whether the text may be doubled
};

inline std::string DamageText(const std::string& seed, const std::string& other, const TextDamage& kinds,
                              std::mt19937* random) {
    const std::size_t runBytes = std::strlen(kinds.runBytes);
    std::string out = seed;
    switch ((*random)() % (kinds.doubling ? 5 : 4)) {
    case 0:
        out.resize((*random)() % (out.size() + 1));
        break;
    case 1:
        for (int i = 0; i < kinds.flips && !out.empty(); ++i)
            out[(*random)() % out.size()] = static_cast<char>((*random)() % 256);
        break;
    case 2:
        out.insert((*random)() % (out.size() + 1),
                   std::string(1 + (*random)() % kinds.longestRun, kinds.runBytes[(*random)() % runBytes]));
        break;
    case 3:
        out = out.substr(0, (*random)() % (out.size() + 1)) + other.substr((*random)() % (other.size() + 1));
        break;
    default:
        out += out;
        break;
    }
    return out;
}

#endif
