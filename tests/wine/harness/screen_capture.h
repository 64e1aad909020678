// Screenshots of a window as the screen shows it, for pixel checks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace korbela::wine {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

class ScreenCapture {
public:
    // The screen area of the window's client rectangle.
    static ScreenCapture OfClient(HWND window);
    // A picture taken otherwise: top-down rows of 0x00RRGGBB.
    static ScreenCapture OfPixels(int width, int height, std::vector<uint32_t> pixels);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const;
    // Top-down rows of 0x00RRGGBB, as a canvas gives its pixels.
    const std::vector<uint32_t>& Pixels() const { return pixels_; }
    // Writes a 24-bit BMP file.
    bool SaveBmp(const std::string& path) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;  // top-down 0x00RRGGBB
};

}  // namespace korbela::wine
