// One paint of each drawn widget on the recording canvas, as a ratio to a
// baseline measured in the same run: a memcpy of a 455 x 105 x 4-byte
// buffer, which stands in natively for the one full-size BitBlt of a paint.
#ifdef _WIN32
#include <windows.h>  // first, so that its TextOut macro names every canvas alike
#endif

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/widgets/percent_bar.h"
#include "core/widgets/recording_canvas.h"
#include "core/widgets/scope.h"

#ifdef _WIN32
#include "win32/widgets/gdi_canvas.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kGraphWidth = 455;
constexpr int kGraphHeight = 105;

// Mean microseconds per call, after a warm-up, over about a second.
template <typename Work>
double MicrosecondsPerCall(Work&& work) {
    for (int i = 0; i < 100; ++i) work();
    long long calls = 0;
    const auto start = Clock::now();
    auto now = start;
    do {
        for (int i = 0; i < 100; ++i) work();
        calls += 100;
        now = Clock::now();
    } while (now - start < std::chrono::seconds(1));
    return std::chrono::duration<double, std::micro>(now - start).count() / static_cast<double>(calls);
}

}  // namespace

int main() {
    using namespace korbela;

    const std::size_t bitmapSize = static_cast<std::size_t>(kGraphWidth) * kGraphHeight * 4;
    std::vector<unsigned char> source(bitmapSize, 0x5A), target(bitmapSize);
    volatile unsigned char sink = 0;
    const double blit = MicrosecondsPerCall([&] {
        std::memcpy(target.data(), source.data(), bitmapSize);
        sink = sink + target[bitmapSize / 2];
        ++source[0];
    });

    TPercentBar bar;
    bar.ApplyPreset(PercentBarPreset::CPU);
    bar.SetPercent(63);
    RecordingCanvas barCanvas;
    const double barPaint = MicrosecondsPerCall([&] {
        barCanvas.Clear();
        bar.Paint(barCanvas, 452, 21);
    });

    TScope scope;
    for (int i = 0; i < 999; ++i) {
        for (int channel = 0; channel < 3; ++channel) scope.AddValue(channel, (i * 7 + channel * 31) % 101);
    }
    RecordingCanvas scopeCanvas;
    const double scopePaint = MicrosecondsPerCall([&] {
        scopeCanvas.Clear();
        scope.Paint(scopeCanvas, kGraphWidth, kGraphHeight);
    });

    std::printf("baseline: memcpy of a %dx%dx4-byte buffer, standing in for one full-size BitBlt: %.2f us\n",
                kGraphWidth, kGraphHeight, blit);
    std::printf("percent_bar_paint: %.1f us (%.1fx baseline blit)\n", barPaint, barPaint / blit);
    std::printf("scope_paint_999x3: %.1f us (%.1fx baseline blit)\n", scopePaint, scopePaint / blit);

#ifdef _WIN32
    // The same paints on GDI, each with its one copy to the screen-side DC,
    // against one bare full-size BitBlt between two memory DCs.
    HDC screen = GetDC(nullptr);
    HDC targetDc = CreateCompatibleDC(screen);
    HBITMAP targetBitmap = CreateCompatibleBitmap(screen, kGraphWidth, kGraphHeight);
    HGDIOBJ oldTarget = SelectObject(targetDc, targetBitmap);
    {
        GdiCanvas scopeGdi(screen, kGraphWidth, kGraphHeight);
        GdiCanvas barGdi(screen, 452, 21);
        const double gdiBlit = MicrosecondsPerCall([&] {
            BitBlt(targetDc, 0, 0, kGraphWidth, kGraphHeight, scopeGdi.Dc(), 0, 0, SRCCOPY);
            GdiFlush();
        });
        const double gdiBar = MicrosecondsPerCall([&] {
            bar.Paint(barGdi, 452, 21);
            barGdi.CopyTo(targetDc, 0, 0);
            GdiFlush();
        });
        const double gdiScope = MicrosecondsPerCall([&] {
            scope.Paint(scopeGdi, kGraphWidth, kGraphHeight);
            scopeGdi.CopyTo(targetDc, 0, 0);
            GdiFlush();
        });
        std::printf("gdi baseline: one %dx%d BitBlt: %.2f us\n", kGraphWidth, kGraphHeight, gdiBlit);
        std::printf("gdi percent_bar_paint: %.1f us (%.1fx BitBlt)\n", gdiBar, gdiBar / gdiBlit);
        std::printf("gdi scope_paint_999x3: %.1f us (%.1fx BitBlt)\n", gdiScope, gdiScope / gdiBlit);
    }
    SelectObject(targetDc, oldTarget);
    DeleteObject(targetBitmap);
    DeleteDC(targetDc);
    ReleaseDC(nullptr, screen);
#endif
    return 0;
}
