// The widgets' canvas writes rectangles and one-pixel lines into its bitmap
// itself: its pixels are the ones GDI sets for the same calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "harness/screen_bitmap.h"
#include "win32/widgets/gdi_canvas.h"

namespace korbela::wine {
namespace {

constexpr int kWidth = 60;
constexpr int kHeight = 40;

// A bitmap like the screen's, drawn on with plain GDI calls.
class GdiReference {
public:
    GdiReference() : screen_(GetDC(nullptr)), bitmap_(screen_, kWidth, kHeight) {}
    ~GdiReference() { ReleaseDC(nullptr, screen_); }
    GdiReference(const GdiReference&) = delete;
    GdiReference& operator=(const GdiReference&) = delete;

    HDC Screen() const { return screen_; }
    HDC Dc() const { return bitmap_.Dc(); }

private:
    HDC screen_;
    ScreenBitmap bitmap_;  // given back before the screen's DC
};

TEST(GdiCanvasPixels, OnePixelLinesInEveryDirectionWithAndWithoutAClip) {
    GdiReference reference;
    std::mt19937 random(7);
    auto coordinate = [&random](int centre, int range) {
        return centre + static_cast<int>(random() % static_cast<unsigned>(range)) - range / 2;
    };
    for (int round = 0; round < 600; ++round) {
        GdiCanvas canvas(reference.Screen(), kWidth, kHeight);
        const RECT all{0, 0, kWidth, kHeight};
        FillRect(reference.Dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        canvas.FillRect({0, 0, kWidth, kHeight}, clBlack);

        const bool clipped = round % 3 == 0;
        const Rect clip{coordinate(10, 20), coordinate(8, 16), coordinate(45, 30), coordinate(30, 20)};
        HRGN region = CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
        if (clipped) {
            SelectClipRgn(reference.Dc(), region);
            canvas.SetClip(clip);
        }
        const int penWidth = round % 4 == 0 ? 0 : 1;
        HPEN pen = CreatePen(PS_SOLID, penWidth, RGB(255, 0, 0));
        HGDIOBJ previousPen = SelectObject(reference.Dc(), pen);
        canvas.SetPen(clRed, penWidth);
        // Short lines within the bitmap, or long ones that leave it.
        const int range = round % 2 ? 30 : 200;
        int x = coordinate(kWidth / 2, range);
        int y = coordinate(kHeight / 2, range);
        MoveToEx(reference.Dc(), x, y, nullptr);
        canvas.MoveTo(x, y);
        for (int i = 0; i < 6; ++i) {
            const int kind = static_cast<int>(random() % 4);
            if (kind != 1) x = coordinate(kWidth / 2, range);  // 1: along a column
            if (kind != 2) y = coordinate(kHeight / 2, range);  // 2: along a row
            LineTo(reference.Dc(), x, y);
            canvas.LineTo(x, y);
        }
        SelectObject(reference.Dc(), previousPen);
        DeleteObject(pen);
        SelectClipRgn(reference.Dc(), nullptr);
        DeleteObject(region);

        ASSERT_EQ(DcPixels(canvas.Dc(), kWidth, kHeight), DcPixels(reference.Dc(), kWidth, kHeight))
            << "round " << round;
    }
}

TEST(GdiCanvasPixels, RectanglesAndWideLinesWithAClip) {
    GdiReference reference;
    GdiCanvas canvas(reference.Screen(), kWidth, kHeight);
    const RECT all{0, 0, kWidth, kHeight};
    FillRect(reference.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    canvas.FillRect({-5, -5, kWidth + 5, kHeight + 5}, clWhite);

    HRGN region = CreateRectRgn(5, 4, 50, 33);
    SelectClipRgn(reference.Dc(), region);
    canvas.SetClip({5, 4, 50, 33});
    HBRUSH brush = CreateSolidBrush(RGB(0, 128, 128));
    const RECT band{2, 10, 30, 36};
    FillRect(reference.Dc(), &band, brush);
    canvas.FillRect({2, 10, 30, 36}, clTeal);
    DeleteObject(brush);
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 255, 0));
    HGDIOBJ previousPen = SelectObject(reference.Dc(), pen);
    canvas.SetPen(clYellow, 3);
    MoveToEx(reference.Dc(), 0, 0, nullptr);
    LineTo(reference.Dc(), 40, 30);
    LineTo(reference.Dc(), 55, 2);
    canvas.MoveTo(0, 0);
    canvas.LineTo(40, 30);
    canvas.LineTo(55, 2);
    SelectObject(reference.Dc(), previousPen);
    DeleteObject(pen);
    SelectClipRgn(reference.Dc(), nullptr);
    DeleteObject(region);
    canvas.ResetClip();

    EXPECT_EQ(DcPixels(canvas.Dc(), kWidth, kHeight), DcPixels(reference.Dc(), kWidth, kHeight));
}

TEST(GdiCanvasPixels, RestorePutsBackTheGivenAreaWithinTheClip) {
    GdiReference reference;
    GdiCanvas canvas(reference.Screen(), kWidth, kHeight);
    canvas.FillRect({0, 0, kWidth, kHeight}, clNavy);
    const std::vector<uint32_t> navy = canvas.Pixels();
    canvas.FillRect({0, 0, kWidth, kHeight}, clLime);
    canvas.SetClip({0, 0, 30, kHeight});
    canvas.Restore(navy, {10, 5, 40, 15});
    canvas.ResetClip();

    const std::vector<uint32_t> pixels = canvas.Pixels();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool restored = x >= 10 && x < 30 && y >= 5 && y < 15;
            ASSERT_EQ(pixels[static_cast<std::size_t>(y) * kWidth + x], restored ? 0x000080u : 0x00FF00u)
                << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace korbela::wine
