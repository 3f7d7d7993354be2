#pragma once
// Colours the core hands to the windows as data: plain red-green-blue values, so a window only
// converts them (the historical grid wrote the same colours as blue-green-red numbers).

#include <cstdint>

namespace qeltaro {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    constexpr std::uint32_t value() const { return (std::uint32_t(red) << 16) | (std::uint32_t(green) << 8) | blue; }
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kGreen{0, 255, 0};  // miss, 滤杀, equal digits
inline constexpr Rgb kBlue{0, 0, 255};   // selected, hit, the drawn digit's rank

}  // namespace qeltaro
