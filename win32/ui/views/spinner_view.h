// A spin edit as an EDIT with an up-down control beside it. Typing, and the
// arrows (which write the edit's number), pass the text to the model; the
// model's own changes are written back without echoing into it again.
#pragma once

#include "core/ui/controls/spinner.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class SpinnerView : public ControlView {
public:
    // The up-down control takes buttonsId.
    SpinnerView(IViewHost& host, TSpinner& model, Placement placement, const RECT& rect, int id, int buttonsId);

    std::vector<HWND> Windows() const override { return {window_, buttons_}; }
    void Sync() override;
    void OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT EditRect() const;
    RECT ButtonsRect() const;
    void PaintButtons(HDC dc, const RECT& client) const;

    TSpinner& model_;
    HWND buttons_ = nullptr;  // not owned: a child, destroyed with the main window
    bool writing_ = false;    // our own SetWindowText is under way
    int pressedHalf_ = -1;    // 0 up, 1 down
};

}  // namespace korbela
