// The program's fonts and the drawing of its controls' parts.

#include "win32/window/skin.h"

#include <algorithm>

#include "win32/system/unique_handle.h"

namespace korbela {

UniqueGdiObject<HFONT> MakeFont(const char* face, int height, bool bold, bool underline, DisplayScale scale) {
    // A negative height asks for the character height, as the design gives it.
    return UniqueGdiObject<HFONT>(CreateFontA(-scale.FontHeight(height), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline ? TRUE : FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, face));
}

Skin::Skin(const char* face, DisplayScale scale)
    : normal_(MakeFont(face, 11, false, false, scale)),
      bold_(MakeFont(face, 11, true, false, scale)),
      freeing_(MakeFont(face, 16, true, false, scale)),
      link_(MakeFont("Times New Roman", 19, false, true, scale)),
      title_(MakeFont("Tahoma", 11, true, false, scale)),
      window_(CreateSolidBrush(palette::kWindow)),
      well_(CreateSolidBrush(palette::kWell)) {}

HFONT Skin::Counterpart(HFONT font, const Skin& other) const {
    if (font == nullptr) return nullptr;
    if (font == other.Normal()) return Normal();
    if (font == other.Bold()) return Bold();
    if (font == other.Freeing()) return Freeing();
    if (font == other.Link()) return Link();
    if (font == other.Title()) return Title();
    return nullptr;
}

}  // namespace korbela

namespace korbela::skin {

namespace {

COLORREF Mix(COLORREF from, COLORREF to, int step, int steps) {
    if (steps <= 1) return from;
    auto channel = [&](int a, int b) { return a + (b - a) * step / (steps - 1); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

void Text(HDC dc, const RECT& rect, const std::string& text, HFONT font, COLORREF color, UINT format) {
    const DcStateRestore state(dc);
    SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT area = rect;
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
}

COLORREF TextColour(FaceState state) {
    return state == FaceState::Disabled ? palette::kTextDisabled : palette::kText;
}

}  // namespace

FaceState FaceStateOf(const DRAWITEMSTRUCT& item, bool hot) {
    if ((item.itemState & ODS_DISABLED) != 0) return FaceState::Disabled;
    if ((item.itemState & ODS_SELECTED) != 0) return FaceState::Pressed;
    return hot ? FaceState::Hot : FaceState::Normal;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    SetDCBrushColor(dc, color);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FillVertical(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
    const int height = rect.bottom - rect.top;
    for (int y = 0; y < height; ++y) {
        const RECT row{rect.left, rect.top + y, rect.right, rect.top + y + 1};
        FillSolid(dc, row, Mix(top, bottom, y, height));
    }
}

void FillHorizontal(HDC dc, const RECT& rect, COLORREF left, COLORREF right) {
    const int width = rect.right - rect.left;
    for (int x = 0; x < width; ++x) {
        const RECT column{rect.left + x, rect.top, rect.left + x + 1, rect.bottom};
        FillSolid(dc, column, Mix(left, right, x, width));
    }
}

void Frame(HDC dc, const RECT& rect, COLORREF color, int width) {
    SetDCBrushColor(dc, color);
    RECT ring = rect;
    for (int i = 0; i < width && ring.left < ring.right && ring.top < ring.bottom; ++i) {
        FrameRect(dc, &ring, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
        InflateRect(&ring, -1, -1);
    }
}

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int width) {
    UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, width, color));
    SelectionRestore select(dc, pen.Get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

int TextWidth(HWND window, HFONT font, const std::string& text) {
    WindowDc screen(window);
    SelectionRestore select(screen.Get(), font);
    SIZE extent{};
    GetTextExtentPoint32A(screen.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
}

void DrawFocusCue(HDC dc, const RECT& rect, DisplayScale scale) {
    const int line = scale(1);
    const RECT inner{rect.left + line, rect.top + line, rect.right - line, rect.bottom - line};
    Frame(dc, inner, palette::kAccent, line);
}

void DrawTextFocusCue(HDC dc, const RECT& area, const RECT& bounds, const std::string& text, HFONT font,
                      UINT format, DisplayScale scale) {
    SIZE extent{};
    {
        const SelectionRestore select(dc, font);
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    }
    const LONG left = (format & DT_CENTER) != 0 ? (area.left + area.right - extent.cx) / 2 : area.left;
    const LONG top = (area.top + area.bottom - extent.cy) / 2;
    const LONG gap = scale(2);
    const RECT around{std::max(bounds.left, left - gap), std::max(bounds.top, top - gap / 2),
                      std::min(bounds.right, left + extent.cx + gap), std::min(bounds.bottom, top + extent.cy + gap / 2)};
    Frame(dc, around, palette::kAccent, scale(1));
}

void DrawButton(HDC dc, const RECT& rect, const std::string& caption, HFONT font, FaceState state,
                bool focused, DisplayScale scale) {
    const int line = scale(1);
    COLORREF top = palette::kFaceTop;
    COLORREF bottom = palette::kFaceBottom;
    if (state == FaceState::Hot) {
        top = palette::kFaceHotTop;
        bottom = palette::kFaceHotBottom;
    } else if (state == FaceState::Pressed) {
        top = palette::kFacePressedTop;
        bottom = palette::kFacePressedBottom;
    } else if (state == FaceState::Disabled) {
        top = palette::kFaceBottom;
        bottom = palette::kFaceBottom;
    }
    FillVertical(dc, rect, top, bottom);
    Frame(dc, rect, palette::kFaceFrame, line);
    if (state != FaceState::Pressed && state != FaceState::Disabled) {
        FillSolid(dc, RECT{rect.left + line, rect.top + line, rect.right - line, rect.top + 2 * line},
                  palette::kFaceLight);
    }
    if (focused) DrawFocusCue(dc, rect, scale);
    RECT textArea = rect;
    if (state == FaceState::Pressed) OffsetRect(&textArea, line, line);
    Text(dc, textArea, caption, font, TextColour(state), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawCheckBox(HDC dc, const RECT& rect, const std::string& caption, HFONT font, bool checked,
                  FaceState state, bool focused, DisplayScale scale) {
    FillSolid(dc, rect, palette::kWindow);
    const int size = scale(13);
    const int top = rect.top + (rect.bottom - rect.top - size) / 2;
    const RECT box{rect.left, top, rect.left + size, top + size};
    FillSolid(dc, box, state == FaceState::Pressed ? palette::kFaceBottom : palette::kWell);
    COLORREF frame = palette::kFaceLight;
    if (state == FaceState::Hot) frame = palette::kAccent;
    if (state == FaceState::Disabled) frame = palette::kPanelFrame;
    Frame(dc, box, frame, scale(1));
    if (checked) {
        const COLORREF mark = state == FaceState::Disabled ? palette::kTextDisabled : palette::kText;
        UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, scale(2), mark));
        SelectionRestore select(dc, pen.Get());
        POINT tick[3] = {{box.left + scale(3), box.top + scale(6)},
                         {box.left + scale(5), box.top + scale(9)},
                         {box.left + scale(10), box.top + scale(3)}};
        Polyline(dc, tick, 3);
    }
    RECT textArea{box.right + scale(5), rect.top, rect.right, rect.bottom};
    Text(dc, textArea, caption, font, TextColour(state), DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    // The focus frames the caption; the pointer over it lights the box.
    if (focused) DrawTextFocusCue(dc, textArea, rect, caption, font, DT_LEFT, scale);
}

void DrawGroupPanel(HDC dc, const RECT& rect, const std::string& caption, HFONT captionFont, DisplayScale scale) {
    FillSolid(dc, rect, palette::kWindow);
    const int width = scale(1);
    const RECT outer{rect.left, rect.top, rect.right, rect.bottom};
    Frame(dc, outer, palette::kPanelShadow, width);
    const RECT inner{rect.left + width, rect.top + width, rect.right - width, rect.bottom - width};
    Frame(dc, inner, palette::kPanelFrame, width);
    if (caption.empty()) return;
    // The caption starts where its line does, clear of a figure beside it.
    const RECT captionArea{rect.left + scale(6), rect.top + scale(4), rect.right - scale(6), rect.top + scale(18)};
    Text(dc, captionArea, caption, captionFont, palette::kText, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    // The caption line fades from the accent into the panel.
    const RECT line{rect.left + scale(6), rect.top + scale(20), rect.right - scale(6), rect.top + scale(21)};
    FillHorizontal(dc, line, palette::kAccent, palette::kWindow);
}

void DrawBanner(HDC dc, const RECT& rect, const std::string& caption, HFONT font, DisplayScale scale) {
    FillSolid(dc, rect, palette::kWindow);
    Frame(dc, rect, palette::kAccentDim, scale(1));
    Text(dc, rect, caption, font, palette::kText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void DrawCaptionButton(HDC dc, const RECT& rect, Glyph glyph, FaceState state, DisplayScale scale) {
    const int line = scale(1);
    COLORREF face = palette::kTitleBottom;
    if (state == FaceState::Hot) face = glyph == Glyph::Close ? palette::kCloseHot : palette::kFaceHotBottom;
    if (state == FaceState::Pressed) face = glyph == Glyph::Close ? RGB(150, 30, 20) : palette::kFacePressedTop;
    FillVertical(dc, rect, palette::kTitleTop, palette::kTitleBottom);
    if (state == FaceState::Hot || state == FaceState::Pressed) {
        const RECT inner{rect.left + line, rect.top + line, rect.right - line, rect.bottom - line};
        FillSolid(dc, inner, face);
    }
    Frame(dc, rect, palette::kFaceFrame, line);
    const COLORREF ink = state == FaceState::Disabled ? palette::kTextDisabled : palette::kText;
    const int cx = (rect.left + rect.right) / 2;
    const int cy = (rect.top + rect.bottom) / 2;
    const auto s = scale;
    switch (glyph) {
    case Glyph::Close:
        Line(dc, cx - s(4), cy - s(4), cx + s(5), cy + s(5), ink, s(2));
        Line(dc, cx + s(4), cy - s(4), cx - s(5), cy + s(5), ink, s(2));
        break;
    case Glyph::Maximize: {
        const RECT box{cx - s(5), cy - s(4), cx + s(6), cy + s(6)};
        Frame(dc, box, ink, line);
        FillSolid(dc, RECT{box.left, box.top + line, box.right, box.top + 2 * line}, ink);
        break;
    }
    case Glyph::Restore: {
        const RECT back{cx - s(2), cy - s(6), cx + s(7), cy + s(2)};
        const RECT front{cx - s(6), cy - s(2), cx + s(3), cy + s(6)};
        Frame(dc, back, ink, line);
        FillSolid(dc, front, state == FaceState::Normal ? palette::kTitleBottom : face);
        Frame(dc, front, ink, line);
        break;
    }
    case Glyph::Minimize:
        Line(dc, cx - s(5), cy + s(4), cx + s(6), cy + s(4), ink, s(2));
        break;
    case Glyph::Help: {
        // A ringed question mark, the help manual's picture.
        const int radius = s(8);
        UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, s(2), palette::kAccent));
        SelectionRestore selectPen(dc, pen.Get());
        SelectionRestore selectBrush(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, cx - radius, cy - radius, cx + radius + 1, cy + radius + 1);
        UniqueGdiObject<HFONT> font(CreateFontA(-s.FontHeight(14), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma"));
        const RECT mark{cx - radius, cy - radius, cx + radius + 1, cy + radius + 1};
        Text(dc, mark, "?", font.Get(), ink, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        break;
    }
    }
}

void DrawMessagePicture(HDC dc, const RECT& rect) {
    UniqueGdiObject<HBRUSH> fill(CreateSolidBrush(palette::kAccent));
    UniqueGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, palette::kAccentDim));
    SelectionRestore selectBrush(dc, fill.Get());
    SelectionRestore selectPen(dc, pen.Get());
    Ellipse(dc, rect.left, rect.top, rect.right, rect.bottom);
    UniqueGdiObject<HFONT> font(CreateFontA(-(rect.bottom - rect.top) * 3 / 4, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                            DEFAULT_PITCH | FF_DONTCARE, "Georgia"));
    Text(dc, rect, "i", font.Get(), palette::kText, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void DrawTitleBar(HDC dc, const RECT& rect, HICON icon, const std::string& caption, HFONT font,
                  bool active, DisplayScale scale) {
    FillVertical(dc, rect, palette::kTitleTop, palette::kTitleBottom);
    FillSolid(dc, RECT{rect.left, rect.bottom - scale(1), rect.right, rect.bottom}, palette::kTitleLine);
    int textLeft = rect.left + scale(8);
    // The buttons sit in the top 27 pixels; the icon and caption line up with them.
    const int rowTop = rect.top + scale(2);
    const int rowHeight = scale(25);
    if (icon != nullptr) {
        const int size = scale(16);
        DrawIconEx(dc, rect.left + scale(8), rowTop + (rowHeight - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
        textLeft = rect.left + scale(30);
    }
    const RECT textArea{textLeft, rowTop, rect.right - scale(8), rowTop + rowHeight};
    Text(dc, textArea, caption, font, active ? palette::kText : palette::kSilver,
         DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The trackbar's custom draw.
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
