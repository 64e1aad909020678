#include "win32/tray/tray_menu.h"

#include <cstddef>
#include <optional>

#include "win32/window/control_ids.h"
#include "win32/window/dpi.h"
#include "win32/window/skin.h"

namespace korbela {

namespace {

constexpr int kItemHeight = 21;
constexpr int kSeparatorHeight = 5;
constexpr int kTextLeft = 20;
constexpr int kTextRightMargin = 24;
constexpr COLORREF kHighlight = RGB(112, 112, 112);
constexpr COLORREF kSeparatorLine = RGB(120, 120, 120);

struct MenuEntry {
    const char* name;
    const char* caption;  // null for a separator
    std::function<void()> TrayMenu::*handler;
};

// In menu order; the command identifier of an item is its index + 1.
constexpr MenuEntry kItems[] = {
    {"LightClean1", "Light Clean", &TrayMenu::LightClean1Click},
    {"MediumClean1", "Medium Clean", &TrayMenu::MediumClean1Click},
    {"HeavyClean1", "Heavy Clean", &TrayMenu::HeavyClean1Click},
    {"N3", nullptr, nullptr},
    {"ShowMainWindow1", "Show Main Window", &TrayMenu::ShowMainWindow1Click},
    {"N2", nullptr, nullptr},
    {"erminate1", "Exit Korbela Lite", &TrayMenu::erminate1Click},
};
constexpr std::size_t kItemCount = sizeof(kItems) / sizeof(kItems[0]);

constexpr bool CommandIs(int command, std::function<void()> TrayMenu::*handler) {
    return command >= 1 && static_cast<std::size_t>(command) <= kItemCount && kItems[command - 1].handler == handler;
}
static_assert(CommandIs(menu::LightClean1, &TrayMenu::LightClean1Click));
static_assert(CommandIs(menu::MediumClean1, &TrayMenu::MediumClean1Click));
static_assert(CommandIs(menu::HeavyClean1, &TrayMenu::HeavyClean1Click));
static_assert(CommandIs(menu::ShowMainWindow1, &TrayMenu::ShowMainWindow1Click));
static_assert(CommandIs(menu::erminate1, &TrayMenu::erminate1Click));

const MenuEntry* ItemOf(ULONG_PTR itemData) {
    return itemData < kItemCount ? &kItems[itemData] : nullptr;
}

// The menu's modal loop takes the thread's messages, a quit request too, and
// may drop WM_QUIT like any other message and stay open (Wine's does): an Exit,
// a session end or the setup's close that came while the menu is shown would
// be lost. While the menu is up, a message filter takes the request, closes
// the menu and posts the request again once the menu has returned.
class QuitDuringMenu {
public:
    QuitDuringMenu()
        : outer_(active_), hook_(SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId())) {
        active_ = this;
    }
    ~QuitDuringMenu() {
        if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
        active_ = outer_;
        if (quitCode_) PostQuitMessage(*quitCode_);
    }
    QuitDuringMenu(const QuitDuringMenu&) = delete;
    QuitDuringMenu& operator=(const QuitDuringMenu&) = delete;

private:
    static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const MSG*>(lParam);
        if (code == MSGF_MENU && message->message == WM_QUIT && active_ != nullptr) {
            active_->quitCode_ = static_cast<int>(message->wParam);
            EndMenu();
            return TRUE;  // taken: the menu loop drops it from the queue
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // A hook procedure carries no context of its own.
    static inline QuitDuringMenu* active_ = nullptr;
    QuitDuringMenu* outer_;  // not owned: the menu this one is shown from, if any
    HHOOK hook_;
    std::optional<int> quitCode_;
};

}  // namespace

TrayMenu::TrayMenu()
    : menu_(CreatePopupMenu()),
      font_(MakeFont("Tahoma", 11)),
      background_(CreateSolidBrush(palette::kWindow)),
      highlight_(CreateSolidBrush(kHighlight)),
      separator_(CreateSolidBrush(kSeparatorLine)) {
    for (std::size_t i = 0; i < kItemCount; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        info.fType = MFT_OWNERDRAW | (kItems[i].caption == nullptr ? MFT_SEPARATOR : 0);
        info.wID = static_cast<UINT>(i + 1);
        info.dwItemData = i;
        // Drawn by the skin, but the text is the item's too: screen readers and
        // GetMenuString read it, and the menu's keyboard search finds it.
        if (kItems[i].caption != nullptr) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = const_cast<char*>(kItems[i].caption);
        }
        InsertMenuItemA(menu_.Get(), static_cast<UINT>(i), TRUE, &info);
    }
    // The frame around the items in the skin's colour too.
    MENUINFO menuInfo{};
    menuInfo.cbSize = sizeof(menuInfo);
    menuInfo.fMask = MIM_BACKGROUND;
    menuInfo.hbrBack = background_.Get();
    SetMenuInfo(menu_.Get(), &menuInfo);
}

void TrayMenu::ApplyScale(DisplayScale scale) {
    if (scale == scale_) return;
    UniqueGdiObject<HFONT> font = MakeFont("Tahoma", 11, false, false, scale);
    if (!font) return;
    font_ = std::move(font);
    scale_ = scale;
    // Setting an item's type again makes the menu ask for its size anew.
    for (std::size_t i = 0; i < kItemCount; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        info.fType = MFT_OWNERDRAW | (kItems[i].caption == nullptr ? MFT_SEPARATOR : 0);
        SetMenuItemInfoA(menu_.Get(), static_cast<UINT>(i), TRUE, &info);
    }
}

void TrayMenu::Popup(HWND owner, int x, int y) {
    ApplyScale(ScaleOfWindow(owner));
    QuitDuringMenu quit;
    TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
}

bool TrayMenu::Choose(UINT commandId) {
    if (commandId == 0 || commandId > kItemCount) return false;
    const MenuEntry& item = kItems[commandId - 1];
    if (item.handler == nullptr) return false;
    const std::function<void()>& handler = this->*item.handler;
    if (handler) handler();
    return true;
}

bool TrayMenu::Measure(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    const MenuEntry* item = ItemOf(measure.itemData);
    if (item == nullptr) return false;
    if (item->caption == nullptr) {
        measure.itemWidth = 0;
        measure.itemHeight = static_cast<UINT>(scale_(kSeparatorHeight));
        return true;
    }
    WindowDc screen(nullptr);
    SelectionRestore select(screen.Get(), font_.Get());
    SIZE extent{};
    GetTextExtentPoint32A(screen.Get(), item->caption, lstrlenA(item->caption), &extent);
    measure.itemWidth = static_cast<UINT>(scale_(kTextLeft) + extent.cx + scale_(kTextRightMargin));
    measure.itemHeight = static_cast<UINT>(scale_(kItemHeight));
    return true;
}

bool TrayMenu::Draw(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) return false;
    const MenuEntry* item = ItemOf(draw.itemData);
    if (item == nullptr) return false;
    RECT area = draw.rcItem;
    if (item->caption == nullptr) {
        FillRect(draw.hDC, &area, background_.Get());
        RECT line{area.left + scale_(4), area.top + (area.bottom - area.top) / 2, area.right - scale_(4), 0};
        line.bottom = line.top + scale_(1);
        FillRect(draw.hDC, &line, separator_.Get());
        return true;
    }
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    const bool disabled = (draw.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    FillRect(draw.hDC, &area, selected && !disabled ? highlight_.Get() : background_.Get());
    const DcStateRestore state(draw.hDC);
    SelectObject(draw.hDC, font_.Get());
    SetBkMode(draw.hDC, TRANSPARENT);
    SetTextColor(draw.hDC, disabled ? palette::kTextDisabled : palette::kText);
    RECT text = area;
    text.left += scale_(kTextLeft);
    DrawTextA(draw.hDC, item->caption, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    return true;
}

}  // namespace korbela
