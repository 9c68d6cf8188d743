// Counts the calls of the global operator new in this program (and, exported, in the libraries it
// loads), so a test or benchmark can show that a loop allocates nothing.
#ifndef VTR3_TESTS_SUPPORT_ALLOCATION_COUNTER_H
#define VTR3_TESTS_SUPPORT_ALLOCATION_COUNTER_H

#include <cstddef>

namespace allocation_counter {

std::size_t Count();

} // namespace allocation_counter

#endif
