// A slider as a trackbar drawn dark through custom draw. Every scroll
// notification passes the position to the model; releasing a mouse button
// that was pressed on it runs the model's MouseUp, and the end of a move by
// keyboard or wheel its EndTrack.
#pragma once

#include "core/ui/controls/slider.h"
#include "win32/ui/views/control_view.h"

namespace korbela {

class SliderView : public ControlView {
public:
    SliderView(IViewHost& host, TSlider& model, Placement placement, const RECT& rect, int id);

    void Sync() override;
    void OnScroll(WORD code) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;

protected:
    LRESULT HandleSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PassPosition();
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TSlider& model_;
    bool pressed_ = false;  // a mouse button went down on it and is not yet up
    bool wheeling_ = false;
    LRESULT paintedPosition_ = -1;
};

}  // namespace korbela
