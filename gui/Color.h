// The toolkit's colours: red, green, blue and a reserved byte that never
// reaches the platform.
#pragma once

#include <cstdint>

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t reserved = 0;

    // Red, green and blue equal; the reserved byte is not compared.
    bool sameRgb(const Color& other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
    // The platform's colour value: red + green * 256 + blue * 65536.
    std::uint32_t toPlatform() const { return red | (green << 8) | (std::uint32_t{blue} << 16); }
};

inline constexpr Color ColorBlack{0, 0, 0, 0};
inline constexpr Color ColorRed{255, 0, 0, 0};
inline constexpr Color ColorMagenta{255, 0, 255, 0};
inline constexpr Color ColorGrey{127, 127, 127, 0};
inline constexpr Color ColorCyan{0, 255, 255, 0};
inline constexpr Color ColorYellow{255, 255, 0, 0};
inline constexpr Color ColorWhite{255, 255, 255, 0};
inline constexpr Color ColorGreen{0, 255, 0, 0};
inline constexpr Color ColorBlue{0, 0, 255, 0};
// A Bitmap's default transparent colour.
inline constexpr Color ColorTransparent{255, 255, 255, 0};
