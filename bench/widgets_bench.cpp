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
#include "bench/device_bitmap_canvas.h"
#include "win32/system/unique_handle.h"
#include "win32/widgets/gdi_canvas.h"
#include "win32/widgets/drawn_control.h"
#include "wine/harness/screen_bitmap.h"
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

#ifdef _WIN32
// Prints one widget's paint on both canvases, each as a multiple of one bare
// full-size BitBlt to the same target, and whether both give the same pixels
// in the first rounds. Each paint is given its round, counted from 0.
template <typename PaintBefore, typename PaintNow>
void GdiFigures(HDC screen, const char* name, int width, int height, PaintBefore&& paintBefore,
                PaintNow&& paintNow) {
    using namespace korbela;
    korbela::wine::ScreenBitmap target(screen, width, height);
    bench::DeviceBitmapCanvas before(screen, width, height);
    GdiCanvas now(screen, width, height);

    bool samePixels = true;
    for (int round = 0; round <= 100; ++round) {
        paintBefore(before, round);
        before.CopyTo(target.Dc(), 0, 0);
        const std::vector<uint32_t> beforePixels = target.Pixels();
        paintNow(now, round);
        now.CopyTo(target.Dc(), 0, 0);
        samePixels = samePixels && target.Pixels() == beforePixels;
    }

    const double blit = MicrosecondsPerCall([&] {
        BitBlt(target.Dc(), 0, 0, width, height, before.Dc(), 0, 0, SRCCOPY);
        GdiFlush();
    });
    int round = 0;
    const double beforePaint = MicrosecondsPerCall([&] {
        paintBefore(before, round++);
        before.CopyTo(target.Dc(), 0, 0);
        GdiFlush();
    });
    round = 0;
    const double nowPaint = MicrosecondsPerCall([&] {
        paintNow(now, round++);
        now.CopyTo(target.Dc(), 0, 0);
        GdiFlush();
    });

    std::printf("gdi baseline for %s: one %dx%d BitBlt: %.2f us\n", name, width, height, blit);
    std::printf("gdi %s before (device bitmap, a GDI call per primitive): %.1f us (%.1fx one BitBlt)\n", name,
                beforePaint, beforePaint / blit);
    std::printf("gdi %s now (DIB section): %.1f us (%.1fx one BitBlt)\n", name, nowPaint, nowPaint / blit);
    std::printf("gdi %s: same pixels before and now: %s\n", name, samePixels ? "yes" : "NO");
}
#endif

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
    // The same paints on GDI, each with its one copy to a screen-compatible
    // bitmap, on the canvas as it was (a device bitmap, a GDI call per
    // primitive) and as it is, against one bare BitBlt of the widget's full
    // size to the same target.
    const WindowDc screenDc(nullptr);
    HDC screen = screenDc.Get();
    std::printf("gdi: every figure is a paint with its copy to the screen-side bitmap, as N x one bare BitBlt\n");
    // The bar's percent changes from one paint to the next, round by round
    // through 0 to 100 %; the painter keeps the bar's tracks between paints.
    PercentBarPainter barPainter(bar);
    GdiFigures(
        screen, "percent_bar_paint", 452, 21,
        [&](ICanvas& canvas, int round) {
            bar.SetPercent(round % 101);
            bar.Paint(canvas, 452, 21);
        },
        [&](GdiCanvas& canvas, int round) {
            bar.SetPercent(round % 101);
            barPainter(canvas, 452, 21);
        });
    auto paintScope = [&](ICanvas& canvas, int) { scope.Paint(canvas, kGraphWidth, kGraphHeight); };
    GdiFigures(screen, "scope_paint_999x3", kGraphWidth, kGraphHeight, paintScope, paintScope);
#endif
    return 0;
}
