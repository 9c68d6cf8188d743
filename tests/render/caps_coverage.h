// The caps bits the drawing tests exercise: each table declares, from its own rows, the bits it draws
// with and checks; caps_coverage_test.cpp asks that every bit the device claims is among them.
#ifndef VTR3_TESTS_RENDER_CAPS_COVERAGE_H
#define VTR3_TESTS_RENDER_CAPS_COVERAGE_H

#include <d3d9.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace render_test {

using CapsField = DWORD D3DCAPS9::*;
inline std::vector<std::pair<CapsField, DWORD>>& ExercisedBits() {
    static std::vector<std::pair<CapsField, DWORD>> bits;
    return bits;
}
// At namespace scope next to a table: adds each field's bits to what the tests exercise.
struct Exercises {
    Exercises(std::initializer_list<std::pair<CapsField, DWORD>> bits) {
        ExercisedBits().insert(ExercisedBits().end(), bits.begin(), bits.end());
    }
};

// The caps bit of a D3DCMP_, D3DBLEND_ (up to BLENDFACTOR), D3DSTENCILOP_ or D3DTOP_ value.
constexpr DWORD CapBit(DWORD value) {
    return 1u << (value - 1);
}
template <typename Rows, typename Bit> DWORD BitsOf(const Rows& rows, Bit bit) {
    DWORD bits = 0;
    for (const auto& row : rows)
        bits |= bit(row);
    return bits;
}

} // namespace render_test

#endif
