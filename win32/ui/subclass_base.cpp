#include "win32/ui/subclass_base.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/app/error_report.h"

namespace korbela {

namespace {

// The object's address tells its subclass from another object's on the same window.
UINT_PTR SubclassId(const SubclassBase* self) { return reinterpret_cast<UINT_PTR>(self); }

}  // namespace

SubclassBase::~SubclassBase() {
    for (HWND window : windows_) {
        if (IsWindow(window)) RemoveWindowSubclass(window, SubclassProc, SubclassId(this));
    }
}

bool SubclassBase::Subclass(HWND window) {
    if (window == nullptr) return false;
    if (Subclasses(window)) return true;
    if (!SetWindowSubclass(window, SubclassProc, SubclassId(this), reinterpret_cast<DWORD_PTR>(this))) return false;
    windows_.push_back(window);
    return true;
}

void SubclassBase::Unsubclass(HWND window) {
    const auto found = std::find(windows_.begin(), windows_.end(), window);
    if (found == windows_.end()) return;
    windows_.erase(found);
    RemoveWindowSubclass(window, SubclassProc, SubclassId(this));
}

bool SubclassBase::Subclasses(HWND window) const {
    return std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

LRESULT SubclassBase::HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK SubclassBase::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR selfData) {
    auto* self = reinterpret_cast<SubclassBase*>(selfData);
    if (message == WM_NCDESTROY) {
        // The subclass goes before the window does.
        self->Unsubclass(window);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        return self->HandleSubclassMessage(window, message, wParam, lParam);
    } catch (...) {
        ReportCurrentException();
        return 0;
    }
}

}  // namespace korbela
