#include "win32/ui/skin/trackbar_paint.h"

#include "win32/ui/skin/draw.h"
#include "win32/ui/skin/palette.h"

namespace korbela::skin {

namespace {

RECT ThumbRect(HWND trackbar) {
    RECT thumb{};
    SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    return thumb;
}

RECT ChannelRect(HWND trackbar) {
    RECT channel{};
    SendMessageA(trackbar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    return channel;
}

void PaintChannel(HDC dc, HWND trackbar, DisplayScale scale) {
    const RECT channel = ChannelRect(trackbar);
    const RECT thumb = ThumbRect(trackbar);
    const int middle = (channel.top + channel.bottom) / 2;
    const int line = scale(1);
    const RECT groove{channel.left, middle - scale(2), channel.right, middle + scale(3)};
    FillSolid(dc, groove, palette::kWell);
    Frame(dc, groove, palette::kWellFrame, line);
    // The lit part's colour depends on x alone, so the trackbar's partial
    // repaints around a moving thumb join up seamlessly.
    const RECT inner{groove.left + line, groove.top + line, groove.right - line, groove.bottom - line};
    const int width = inner.right - inner.left;
    const int litRight = (thumb.left + thumb.right) / 2;
    for (int x = inner.left; x < litRight && x < inner.right; ++x) {
        const int step = x - inner.left;
        auto channel = [&](int from, int to) { return from + (to - from) * step / (width > 1 ? width - 1 : 1); };
        const COLORREF colour = RGB(channel(GetRValue(palette::kAccentDim), GetRValue(palette::kAccent)),
                                    channel(GetGValue(palette::kAccentDim), GetGValue(palette::kAccent)),
                                    channel(GetBValue(palette::kAccentDim), GetBValue(palette::kAccent)));
        FillSolid(dc, RECT{x, inner.top, x + 1, inner.bottom}, colour);
    }
}

void PaintTics(HDC dc, HWND trackbar, DisplayScale scale) {
    const RECT channel = ChannelRect(trackbar);
    const RECT thumb = ThumbRect(trackbar);
    const int half = (thumb.right - thumb.left) / 2;
    const int top = thumb.bottom + scale(1);
    const int width = scale(1);
    auto tick = [&](int x, int length) {
        FillSolid(dc, RECT{x, top, x + width, top + scale(length)}, palette::kSilver);
    };
    tick(channel.left + half, 4);
    tick(channel.right - half - 1, 4);
    const LRESULT count = SendMessageA(trackbar, TBM_GETNUMTICS, 0, 0);
    for (LRESULT i = 0; i + 2 < count; ++i) {
        const LRESULT x = SendMessageA(trackbar, TBM_GETTICPOS, static_cast<WPARAM>(i), 0);
        if (x >= 0) tick(static_cast<int>(x), 3);
    }
}

void PaintThumb(HDC dc, const RECT& thumb, UINT state, bool enabled, DisplayScale scale) {
    COLORREF top = palette::kFaceHotTop;
    COLORREF bottom = palette::kFaceBottom;
    if (!enabled) {
        top = palette::kFaceBottom;
    } else if ((state & CDIS_SELECTED) != 0) {
        top = palette::kAccent;
        bottom = palette::kAccentDim;
    } else if ((state & CDIS_HOT) != 0) {
        top = RGB(150, 150, 150);
    }
    FillVertical(dc, thumb, top, bottom);
    const int line = scale(1);
    Frame(dc, thumb, palette::kFaceFrame, line);
    const int x = (thumb.left + thumb.right) / 2;
    FillSolid(dc, RECT{x, thumb.top + scale(4), x + line, thumb.bottom - scale(4)},
              enabled ? palette::kAccent : palette::kPanelFrame);
}

}  // namespace

LRESULT PaintTrackbar(NMCUSTOMDRAW& draw, HWND trackbar, DisplayScale scale) {
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
        FillSolid(draw.hdc, draw.rc, palette::kWindow);
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        switch (draw.dwItemSpec) {
        case TBCD_CHANNEL:
            PaintChannel(draw.hdc, trackbar, scale);
            return CDRF_SKIPDEFAULT;
        case TBCD_TICS:
            PaintTics(draw.hdc, trackbar, scale);
            return CDRF_SKIPDEFAULT;
        case TBCD_THUMB:
            PaintThumb(draw.hdc, ThumbRect(trackbar), draw.uItemState, IsWindowEnabled(trackbar) != FALSE, scale);
            return CDRF_SKIPDEFAULT;
        default:
            return CDRF_DODEFAULT;
        }
    default:
        return CDRF_DODEFAULT;
    }
}

}  // namespace korbela::skin
