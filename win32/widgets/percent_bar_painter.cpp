#include "win32/widgets/percent_bar_painter.h"

#include <algorithm>

namespace korbela {

namespace {

// The look with the fill's percent left out: the tracks do not depend on it.
TPercentBarLook TrackLook(const TPercentBar& bar) {
    TPercentBarLook look = bar.Look();
    look.Gradient.PercentFilling = 0;
    return look;
}

}  // namespace

bool PercentBarPainter::Kept(const GdiCanvas& canvas, const TPercentBarLook& look) const {
    return !empty_.empty() && canvas.Width() == width_ && canvas.Height() == height_ &&
           canvas.BitsPerPixel() == bitsPerPixel_ && look == look_ && bar_->Scale() == scale_;
}

void PercentBarPainter::operator()(GdiCanvas& canvas, int width, int height) {
    const TPercentBar& bar = *bar_;
    if (!bar.ShowsTrack() || width != canvas.Width() || height != canvas.Height()) {
        bar.Paint(canvas, width, height);  // nothing kept would help
        return;
    }
    const TPercentBarLook look = TrackLook(bar);
    if (!Kept(canvas, look)) {
        bar.PaintTrack(canvas, width, height, false);
        empty_ = canvas.Pixels();
        bar.PaintTrack(canvas, width, height, true);
        filled_ = canvas.Pixels();
        look_ = look;
        scale_ = bar.Scale();
        width_ = width;
        height_ = height;
        bitsPerPixel_ = canvas.BitsPerPixel();
    }
    const int fillEnd = std::clamp(bar.FillEnd(canvas, width, height), 0, width);
    canvas.Restore(filled_, {0, 0, fillEnd, height});
    canvas.Restore(empty_, {fillEnd, 0, width, height});
    bar.PaintCaption(canvas, width, height);
}

}  // namespace korbela
