// A push button as an owner-drawn BUTTON: skinned face, white caption, or a
// picture (the title bar's help and close buttons). A click runs the model's
// Click.
#pragma once

#include <optional>

#include "core/ui/controls/button.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/skin/hot_tracking.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class ButtonView : public ControlView {
public:
    // With a glyph the button shows the picture; its window text is then
    // `name` (the model has no caption), so the control can still be found.
    ButtonView(IViewHost& host, TButton& model, Placement placement, const RECT& rect, int id,
               std::optional<skin::Glyph> glyph = std::nullopt, const std::string& name = std::string());

    void Sync() override;
    void OnCommand(WORD code) override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TButton& model_;
    std::optional<skin::Glyph> glyph_;
    std::string name_;
    HotTracking hot_;
};

}  // namespace korbela
