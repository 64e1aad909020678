// The message dialog frm_Message, and the disabling of the other windows
// while it is shown.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/dialog/system_messages.h"
#include "core/system/display_scale.h"
#include "win32/system/unique_handle.h"
#include "win32/window/skin.h"
#include "win32/window/window.h"

namespace korbela {

// While a modal message is open the program's other windows take no input:
// every shown and enabled top-level window of this thread, and the main
// window even while hidden (the tray could show it meanwhile). They are given
// back however the modal loop ends.
class OtherWindowsDisabled {
public:
    OtherWindowsDisabled(HWND dialog, HWND mainWindow);
    ~OtherWindowsDisabled();
    OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
    OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self);

    HWND dialog_;                // not owned
    std::vector<HWND> windows_;  // not owned
};

// The system message dialog "Tfrm_Message": a topmost, resizable dark window
// with its own title bar, the "System Message" header, the message body and a
// footer with the No / Ok / Yes buttons. ShowModal shows a text with Ok only
// and runs a modal loop until the dialog is closed; timer ticks keep running
// in it, since they arrive as sent messages that GetMessage delivers. Its
// figures are design pixels at 96 dpi, drawn at the dialog's own scale.
inline constexpr char kMessageWindowClass[] = "Tfrm_Message";
inline constexpr char kMessageWindowCaption[] = " Korbela Lite System Message";

class Tfrm_Message : public IMessageDialog, public WindowBase, private SubclassBase {
public:
    static constexpr int kClientWidth = 451;
    static constexpr int kClientHeight = 227;
    static constexpr int kMinWidth = 506;
    static constexpr int kMinHeight = 274;

    // Owned by the application window; centred on the main window whenever
    // it comes up, wherever that window is (shown or hidden).
    Tfrm_Message(HINSTANCE instance, HWND applicationWindow, HWND mainWindow);
    ~Tfrm_Message() override;

    // Never shown twice: a call while the dialog is open only replaces the text.
    void ShowModal(const std::string& text) override;

    void btn_NoClick() { modalResult_ = IDNO; }
    void btn_OkClick() { modalResult_ = IDOK; }
    void btn_YesClick() { modalResult_ = IDYES; }
    // Sets the minimum size to 506 x 274 (at the dialog's scale) and leaves the maxima.
    void FormConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight);

    // The result of the last showing: IDOK, IDNO, IDYES, or IDCANCEL when closed.
    int ModalResult() const { return modalResult_; }

private:
    struct Button {
        HWND window = nullptr;  // not owned: a child, destroyed with the dialog
        std::optional<skin::Glyph> glyph;
        HotTracking hot;
    };

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The buttons' own messages: hot tracking and no background erasing.
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    Button* ButtonOf(HWND window);
    void AddButton(std::size_t slot, int id, const char* caption, std::optional<skin::Glyph> glyph);
    void Layout();
    // Fonts, picture and size for a scale; at `suggested` (WM_DPICHANGED),
    // or else the designed client size where the dialog stands.
    void ApplyScale(DisplayScale scale, const RECT* suggested);
    void PlaceOverMainWindow();
    void Paint(HDC dc) const;
    void DrawButton(const DRAWITEMSTRUCT& item);
    LRESULT HitTest(POINT screen) const;
    void CloseDialog(int result);

    HINSTANCE instance_;
    HWND main_;  // not owned
    DisplayScale scale_;
    HWND memo_ = nullptr;    // not owned: a child
    HWND header_ = nullptr;  // not owned: a child
    // No, Ok, Yes, then the title bar's Close, Maximise, Minimise.
    std::array<Button, 6> buttons_;
    UniqueGdiObject<HFONT> textFont_;
    UniqueGdiObject<HFONT> headerFont_;
    UniqueGdiObject<HFONT> buttonFont_;
    UniqueGdiObject<HFONT> titleFont_;
    UniqueGdiObject<HBRUSH> bodyBrush_;
    UniqueGdiObject<HBRUSH> headerBrush_;
    UniqueIcon picture_;
    int modalResult_ = 0;
    bool inModal_ = false;
    bool active_ = false;
};

}  // namespace korbela
