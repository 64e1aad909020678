// Every caption of the main window drawn whole: measured in the fonts the
// window draws with, on each control's own DC, every caption fits its control
// and stays clear of the controls beside it, on all four pages, at the scale
// of the prefix's display (run at 96 and at 144 dpi).
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/screen_bitmap.h"
#include "harness/screen_capture.h"
#include "harness/wine_test.h"

namespace korbela::wine {
namespace {

// The skin's fonts, made the way the program makes them: a negative height is
// the character height in pixels, the design's height at the display's scale.
class SkinFont {
public:
    SkinFont(const char* face, int height, bool bold = false, bool underline = false)
        : font_(CreateFontA(-ScreenScale().FontHeight(height), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, underline ? TRUE : FALSE, FALSE,
                            DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, face)) {}
    ~SkinFont() { DeleteObject(font_); }
    SkinFont(const SkinFont&) = delete;
    SkinFont& operator=(const SkinFont&) = delete;
    HFONT Get() const { return font_; }

private:
    HFONT font_;
};

// A caption as GDI lays it out and as it draws it: the layout box from
// GetTextExtentPoint32 (DrawText aligns and breaks by it), and the columns its
// glyphs really cover from the pen position. Wine's Tahoma draws from bitmaps
// whose steps are narrower than the outline's advances, so the two differ.
struct TextMeasure {
    SIZE box{};
    int inkLeft = 0;
    int inkRight = 0;  // one past the last column with ink
};

// `width` > 0: the text broken into centred lines of at most that width.
TextMeasure Measure(HWND control, HFONT font, const std::string& text, int width = 0) {
    TextMeasure measure;
    HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, font);
    const UINT format = DT_NOPREFIX | DT_EXPANDTABS | (width > 0 ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE);
    RECT box{0, 0, width, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | format);
    if (width == 0) GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &measure.box);
    else measure.box = SIZE{box.right, box.bottom};

    // Drawn white on black with room on both sides, then scanned for ink.
    const int pad = 8;
    const int canvasWidth = std::max<int>(measure.box.cx, width) + 2 * pad;
    const int canvasHeight = measure.box.cy;
    const BITMAPINFO info = TopDown32(canvasWidth, canvasHeight);
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ oldCanvas = SelectObject(memory, canvas);
    const HGDIOBJ oldFont = SelectObject(memory, font);
    RECT all{0, 0, canvasWidth, canvasHeight};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(memory, RGB(255, 255, 255));
    SetBkMode(memory, TRANSPARENT);
    RECT area{pad, 0, pad + std::max<int>(measure.box.cx, width), canvasHeight};
    DrawTextA(memory, text.c_str(), static_cast<int>(text.size()), &area, format);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    int first = canvasWidth;
    int last = -1;
    for (int y = 0; y < canvasHeight; ++y) {
        for (int x = 0; x < canvasWidth; ++x) {
            if ((pixels[static_cast<size_t>(y) * canvasWidth + x] & 0xFFFFFF) != 0) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    measure.inkLeft = last < 0 ? 0 : first - pad;
    measure.inkRight = last < 0 ? 0 : last + 1 - pad;
    SelectObject(memory, oldFont);
    SelectObject(memory, oldCanvas);
    DeleteObject(canvas);
    DeleteDC(memory);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return measure;
}

// How a control lays out its caption, after the skin's painting code.
enum class Look {
    Label,     // STATIC: from the left edge, one line (SS_RIGHT: to the right edge)
    Wrapped,   // STATIC SS_CENTER: centred lines broken at words
    Group,     // group panel: bold, 6 pixels in from the left and the right, 4 from the top
    Banner,    // the freeing banner: bold 16 pixels, centred inside its frame
    CheckBox,  // a 13-pixel box and 5 pixels of gap before the text, centred vertically
    Button,    // centred inside its 1-pixel frame
    Link,      // a web link, as wide as its underlined Times New Roman text
};

bool IsCheckBox(int id) {
    return id == ctrl::chbUsedRAM || id == ctrl::chbFreeRAM || id == ctrl::chbCPU || id == ctrl::chbAuto_Start ||
           id == ctrl::chbAuto_Free || id == ctrl::chbAuto_Free_Silent;
}

struct Child {
    HWND window;
    int id;
    RECT rect;  // in the main window's client area
};

class CaptionFit : public WineTest {
protected:
    std::vector<Child> VisibleChildren() const {
        std::vector<Child> children;
        for (HWND child = GetWindow(program.MainWindow(), GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child)) continue;
            RECT rect{};
            GetWindowRect(child, &rect);
            MapWindowPoints(nullptr, program.MainWindow(), reinterpret_cast<POINT*>(&rect), 2);
            children.push_back({child, GetDlgCtrlID(child), rect});
        }
        return children;
    }

    // Checks every visible caption of the page shown; `where` names the page.
    void CheckCaptions(const std::string& where) const {
        const std::vector<Child> children = VisibleChildren();
        for (const Child& child : children) {
            char className[32] = {};
            GetClassNameA(child.window, className, sizeof(className));
            const std::string caption = WindowText(child.window);
            const LONG style = GetWindowLongA(child.window, GWL_STYLE);
            const bool isStatic = lstrcmpiA(className, "STATIC") == 0;
            const bool isButton = lstrcmpiA(className, "BUTTON") == 0;
            if (caption.empty() || !(isStatic || isButton)) continue;
            if (child.id == ctrl::btnClose || child.id == ctrl::btnHelp) continue;  // pictures
            Look look = Look::Label;
            if (isButton) {
                look = IsCheckBox(child.id) ? Look::CheckBox : Look::Button;
            } else if ((style & SS_TYPEMASK) == SS_OWNERDRAW) {
                look = child.id == ctrl::pnlFreeing_RAM ? Look::Banner : Look::Group;
            } else if (child.id == ctrl::lblWebSite || child.id == ctrl::HyperLink2) {
                look = Look::Link;
            } else if ((style & SS_TYPEMASK) == SS_CENTER) {
                look = Look::Wrapped;
            }
            CheckOne(where, child, caption, look, (style & SS_TYPEMASK) == SS_RIGHT, children);
        }
    }

    // The tabs are one window: each tab is a run of tab colour across the
    // strip, the selected one drawn bold, and the last ends inside the strip.
    void CheckTabs(const std::string& where) const {
        HWND strip = program.Control(ctrl::pgRAM);
        const ScreenCapture shot = ScreenCapture::OfClient(strip);
        const Rgb background{81, 81, 81};
        const int row = scale(5);  // under the selected tab's accent, above the captions
        std::vector<std::pair<int, int>> tabs;
        for (int x = 0; x < shot.Width(); ++x) {
            if (shot.At(x, row) == background) continue;
            if (tabs.empty() || tabs.back().second != x) tabs.push_back({x, x});
            tabs.back().second = x + 1;
        }
        const char* captions[] = {" Memory ", " Monitor ", "Settings", "   About   "};
        ASSERT_EQ(tabs.size(), std::size(captions)) << where << ": one run of tab colour per page";
        EXPECT_LT(tabs.back().second, shot.Width()) << where << ": the last tab ends inside the strip";
        const int selected = static_cast<int>(SendMessageA(strip, TCM_GETCURSEL, 0, 0));
        for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
            const TextMeasure text = Measure(strip, i == selected ? bold.Get() : normal.Get(), captions[i]);
            EXPECT_LE(text.inkRight - text.inkLeft, tabs[i].second - tabs[i].first)
                << where << ": tab \"" << captions[i] << "\"";
        }
    }

    DisplayScale scale = ScreenScale();
    SkinFont normal{"Tahoma", 11};
    SkinFont bold{"Tahoma", 11, true};
    SkinFont freeing{"Tahoma", 16, true};
    SkinFont link{"Times New Roman", 19, false, true};

private:
    void CheckOne(const std::string& where, const Child& child, const std::string& caption, Look look,
                  bool rightAligned, const std::vector<Child>& siblings) const {
        RECT client{};
        GetClientRect(child.window, &client);
        const int width = client.right;
        const int height = client.bottom;
        HFONT font = normal.Get();
        if (look == Look::Group) font = bold.Get();
        if (look == Look::Banner) font = freeing.Get();
        if (look == Look::Link) font = link.Get();
        const TextMeasure text = Measure(child.window, font, caption, look == Look::Wrapped ? width : 0);

        // The pen position inside the control and the columns the text may
        // use there; the rows it is given.
        int penX = 0;
        int penY = 0;
        int roomLeft = 0;
        int roomRight = width;
        int rows = height;
        switch (look) {
        case Look::Label:
        case Look::Link:
            if (rightAligned) penX = width - text.box.cx;
            break;
        case Look::Wrapped:
            break;
        case Look::Group:
            penX = roomLeft = scale(6);
            penY = scale(4);
            roomRight = width - scale(6);
            rows = scale(14);
            break;
        case Look::Banner:
        case Look::Button:
            penX = (width - text.box.cx) / 2;
            penY = (height - text.box.cy) / 2;
            roomLeft = scale(1);
            roomRight = width - scale(1);
            break;
        case Look::CheckBox:
            penX = roomLeft = scale(13) + scale(5);
            penY = (height - text.box.cy) / 2;
            break;
        }
        const int inkLeft = penX + text.inkLeft;
        const int inkRight = penX + text.inkRight;
        const std::string name = where + ": \"" + caption + "\" (control " + std::to_string(child.id) + ")";
        EXPECT_GE(inkLeft, roomLeft) << name << " starts at " << inkLeft << ", left of " << roomLeft;
        EXPECT_LE(inkRight, roomRight) << name << " is drawn to " << inkRight << " in a room up to " << roomRight;
        EXPECT_LE(text.box.cy, rows) << name << " is " << text.box.cy << " pixels high in a room of " << rows;

        // Nothing else may stand on the text, apart from the panels around it.
        const RECT ink{child.rect.left + inkLeft, child.rect.top + penY, child.rect.left + inkRight,
                       child.rect.top + penY + text.box.cy};
        for (const Child& other : siblings) {
            if (other.window == child.window) continue;
            const RECT& r = other.rect;
            const bool around = r.left <= child.rect.left && r.top <= child.rect.top && r.right >= child.rect.right &&
                                r.bottom >= child.rect.bottom;
            RECT overlap{};
            if (!around && IntersectRect(&overlap, &ink, &r)) {
                ADD_FAILURE() << name << " runs into control " << other.id << " \"" << WindowText(other.window)
                              << "\": text " << ink.left << ".." << ink.right << ", control from " << r.left;
            }
        }
    }
};

TEST_F(CaptionFit, TheWindowFontIsTahoma) {
    HDC screen = GetDC(nullptr);
    char face[LF_FACESIZE] = {};
    const HGDIOBJ old = SelectObject(screen, normal.Get());
    GetTextFaceA(screen, LF_FACESIZE, face);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    EXPECT_STREQ(face, "Tahoma") << "Wine finds no Tahoma (Debian package fonts-wine) and draws in another font";
}

TEST_F(CaptionFit, EveryCaptionOfEveryPageFitsAndStaysClearOfItsNeighbours) {
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    struct Page {
        int index;
        int control;  // one that shows once the page does
        const char* name;
    };
    const Page pages[] = {{0, ctrl::lblUsedRAM, "memory"},
                          {1, ctrl::chbCPU, "monitor"},
                          {2, ctrl::chbAuto_Free, "settings"},
                          {3, ctrl::memAbout, "about"}};
    for (const Page& page : pages) {
        SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, page.index, 0);
        ASSERT_TRUE(WaitUntil([&] { return Visible(page.control); }, std::chrono::seconds(5))) << page.name;
        Sleep(300);  // painted
        CheckCaptions(page.name);
        CheckTabs(page.name);
        ScreenCapture::OfClient(program.MainWindow()).SaveBmp(BinFolder() + ScaledFileName(std::string("page-") + page.name, ".bmp"));
    }
    // The Settings page's test button, shown by the hot key.
    SendMessageA(program.Control(ctrl::pgRAM), TCM_SETCURSEL, 2, 0);
    PostMessageA(program.HotKeyWindow(), WM_HOTKEY, 0, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'A'));
    ASSERT_TRUE(WaitUntil([&] { return Visible(ctrl::btnTest_Auto_Free); }, std::chrono::seconds(5)));
    CheckCaptions("settings, with the test button");
}

TEST_F(CaptionFit, ThePassPanelAndTheBannerFitWhileARunShowsThem) {
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Target RAM", 5);
    WriteDword(HKEY_CURRENT_USER, kSettingsKey, "Attempts", 3);
    StartProgram();
    ASSERT_TRUE(program.ShowMainWindow());
    ASSERT_TRUE(WaitForFirstTick());
    PostMessageA(program.Control(ctrl::btnFreeRAM), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([this] { return Visible(ctrl::pnlPass) && Visible(ctrl::pnlFreeing_RAM); },
                          std::chrono::seconds(10)));
    CheckCaptions("memory, during a run");
    EXPECT_TRUE(WaitUntil([this] { return !Visible(ctrl::pnlPass); }, std::chrono::seconds(120)));
}

}  // namespace
}  // namespace korbela::wine
