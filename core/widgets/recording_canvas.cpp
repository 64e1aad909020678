#include "core/widgets/recording_canvas.h"

namespace korbela {

void RecordingCanvas::FillRect(const Rect& rect, TColor color) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::FillRect;
    call.rect = rect;
    call.color = color;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::SetPen(TColor color, int width) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::SetPen;
    call.color = color;
    call.penWidth = width;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::MoveTo(int x, int y) {
    position_ = {x, y};
    CanvasCall call;
    call.kind = CanvasCall::Kind::MoveTo;
    call.to = position_;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::LineTo(int x, int y) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::LineTo;
    call.from = position_;
    call.to = {x, y};
    position_ = call.to;
    calls_.push_back(std::move(call));
}

Size RecordingCanvas::TextExtent(std::string_view text, const FontSpec& font) {
    return {static_cast<int>(text.size()) * kCharWidth, font.height};
}

void RecordingCanvas::TextOut(int x, int y, std::string_view text, const FontSpec& font,
                              TColor color) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::TextOut;
    call.to = {x, y};
    call.text = std::string(text);
    call.font = font;
    call.color = color;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::SetClip(const Rect& rect) {
    CanvasCall call;
    call.kind = CanvasCall::Kind::SetClip;
    call.rect = rect;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::ResetClip() {
    CanvasCall call;
    call.kind = CanvasCall::Kind::ResetClip;
    calls_.push_back(std::move(call));
}

void RecordingCanvas::Clear() {
    calls_.clear();
    position_ = {};
}

std::optional<TColor> RecordingCanvas::FillColorAt(int x, int y) const {
    for (auto it = calls_.rbegin(); it != calls_.rend(); ++it) {
        const Rect& r = it->rect;
        if (it->kind == CanvasCall::Kind::FillRect && x >= r.left && x < r.right &&
            y >= r.top && y < r.bottom) {
            return it->color;
        }
    }
    return std::nullopt;
}

std::vector<RecordedLine> RecordingCanvas::Lines() const {
    std::vector<RecordedLine> lines;
    TColor color;
    int width = 1;
    for (const CanvasCall& call : calls_) {
        if (call.kind == CanvasCall::Kind::SetPen) {
            color = call.color;
            width = call.penWidth;
        } else if (call.kind == CanvasCall::Kind::LineTo) {
            lines.push_back({call.from, call.to, color, width});
        }
    }
    return lines;
}

std::vector<CanvasCall> RecordingCanvas::TextCalls() const {
    std::vector<CanvasCall> texts;
    for (const CanvasCall& call : calls_) {
        if (call.kind == CanvasCall::Kind::TextOut) texts.push_back(call);
    }
    return texts;
}

}  // namespace korbela
