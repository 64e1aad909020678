#include "harness/screen_capture.h"

#include <cstdio>
#include <utility>

#include "harness/screen_bitmap.h"

namespace korbela::wine {

ScreenCapture ScreenCapture::OfClient(HWND window) {
    ScreenCapture capture;
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    capture.width_ = client.right;
    capture.height_ = client.bottom;
    if (capture.width_ <= 0 || capture.height_ <= 0) return capture;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const BITMAPINFO info = TopDown32(capture.width_, capture.height_);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width_, capture.height_, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* source = static_cast<const uint32_t*>(bits);
    capture.pixels_.assign(source, source + static_cast<size_t>(capture.width_) * capture.height_);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

ScreenCapture ScreenCapture::OfPixels(int width, int height, std::vector<uint32_t> pixels) {
    ScreenCapture capture;
    capture.width_ = width;
    capture.height_ = height;
    capture.pixels_ = std::move(pixels);
    return capture;
}

Rgb ScreenCapture::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    const uint32_t pixel = pixels_[static_cast<size_t>(y) * width_ + x];
    return {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel)};
}

bool ScreenCapture::SaveBmp(const std::string& path) const {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const int rowSize = (width_ * 3 + 3) & ~3;
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof(header) + sizeof(info);
    header.bfSize = header.bfOffBits + rowSize * height_;
    info.biSize = sizeof(info);
    info.biWidth = width_;
    info.biHeight = height_;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::fwrite(&header, sizeof(header), 1, file);
    std::fwrite(&info, sizeof(info), 1, file);
    std::vector<uint8_t> row(rowSize, 0);
    for (int y = height_ - 1; y >= 0; --y) {
        for (int x = 0; x < width_; ++x) {
            const Rgb c = At(x, y);
            row[x * 3] = c.b;
            row[x * 3 + 1] = c.g;
            row[x * 3 + 2] = c.r;
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    std::fclose(file);
    return true;
}

}  // namespace korbela::wine
