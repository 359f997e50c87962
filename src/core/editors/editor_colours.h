#ifndef ECU_CORE_EDITORS_EDITOR_COLOURS_H_
#define ECU_CORE_EDITORS_EDITOR_COLOURS_H_

#include <cstdint>

namespace ecu {

// A colour as the windows show it. The editors speak of the classic
// 16-colour palette; the fuel map's value bands are free RGB colours.
struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};              // palette 0
inline constexpr Rgb kBlue{0, 0, 128};             // palette 1
inline constexpr Rgb kGrey{128, 128, 128};         // palette 8
inline constexpr Rgb kLightGreen{0, 255, 0};       // palette 10
inline constexpr Rgb kLightCyan{0, 255, 255};      // palette 11
inline constexpr Rgb kLightRed{255, 0, 0};         // palette 12
inline constexpr Rgb kYellow{255, 255, 0};         // palette 14
inline constexpr Rgb kBrightWhite{255, 255, 255};  // palette 15

// The change mark of every editor cell: yellow while the value is changed
// here or not yet read, bright white once the ECU agrees with it.
inline constexpr Rgb kChangedMark = kYellow;
inline constexpr Rgb kConfirmedMark = kBrightWhite;
// Text of the cell that has the keyboard focus, and of the others.
inline constexpr Rgb kFocusText = kLightRed;
inline constexpr Rgb kPlainText = kBlack;

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_EDITOR_COLOURS_H_
