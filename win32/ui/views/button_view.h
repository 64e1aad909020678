// A push button as an owner-drawn BUTTON: skinned face, white caption, or a
// picture (the title bar's help and close buttons). A click, Space or Enter
// runs the model's Click.
#pragma once

#include <optional>

#include "core/ui/controls/button.h"
#include "win32/ui/skin/draw.h"
#include "win32/ui/views/owner_drawn_button_view.h"

namespace korbela {

class ButtonView : public OwnerDrawnButtonView {
public:
    // With a glyph the button shows the picture; its window text is then
    // `name` (the model has no caption), so the control can still be found.
    ButtonView(IViewHost& host, TButton& model, Placement placement, const RECT& rect, int id,
               std::optional<skin::Glyph> glyph = std::nullopt, const std::string& name = std::string());

    void Sync() override;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    // Enter presses the focused button, as Space does.
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    TButton& model_;
    std::optional<skin::Glyph> glyph_;
};

}  // namespace korbela
