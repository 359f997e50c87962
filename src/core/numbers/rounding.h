#ifndef ECU_CORE_NUMBERS_ROUNDING_H_
#define ECU_CORE_NUMBERS_ROUNDING_H_

#include <cstdint>

namespace ecu {

// Nearest integer, a value exactly halfway going to the even neighbour
// (2.5 -> 2, 3.5 -> 4). Not-a-number gives 0; values beyond the 64-bit range
// are held at its ends, so a wild entry can never wrap into a small raw value.
int64_t RoundHalfEven(double value);

// The same for the exact fraction numerator / denominator (a denominator of
// 0 counts as a value beyond every range).
int64_t RoundHalfEven(__int128 numerator, __int128 denominator);

}  // namespace ecu

#endif  // ECU_CORE_NUMBERS_ROUNDING_H_
