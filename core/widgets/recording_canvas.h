// A canvas that keeps a record of every drawing call instead of drawing, for
// the tests and the benchmarks. Text is measured with a fixed metric so that
// caption positions can be worked out by hand.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/widgets/canvas.h"

namespace korbela {

struct Point {
    int x = 0;
    int y = 0;

    friend constexpr bool operator==(Point, Point) = default;
};

struct CanvasCall {
    enum class Kind { FillRect, SetPen, MoveTo, LineTo, TextOut, SetClip, ResetClip };

    Kind kind = Kind::FillRect;
    Rect rect;         // FillRect, SetClip
    TColor color;      // FillRect, SetPen, TextOut
    int penWidth = 0;  // SetPen
    Point from;        // LineTo: the pen position before the line
    Point to;          // MoveTo, LineTo, TextOut
    std::string text;  // TextOut
    FontSpec font;     // TextOut
};

struct RecordedLine {
    Point from;
    Point to;
    TColor color;
    int width = 0;
};

class RecordingCanvas : public ICanvas {
public:
    // Every character is this many pixels wide; the text is as high as the font.
    static constexpr int kCharWidth = 6;

    explicit RecordingCanvas(int bitsPerPixel = 32) : bitsPerPixel_(bitsPerPixel) {}

    void FillRect(const Rect& rect, TColor color) override;
    void SetPen(TColor color, int width) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    Size TextExtent(std::string_view text, const FontSpec& font) override;
    void TextOut(int x, int y, std::string_view text, const FontSpec& font,
                 TColor color) override;
    void SetClip(const Rect& rect) override;
    void ResetClip() override;
    int BitsPerPixel() const override { return bitsPerPixel_; }

    const std::vector<CanvasCall>& Calls() const { return calls_; }
    void Clear();
    void Reserve(std::size_t count) { calls_.reserve(count); }

    // The colour the fills leave at a pixel, or nothing when no fill covers it.
    std::optional<TColor> FillColorAt(int x, int y) const;
    // Every line drawn, with the pen it was drawn with.
    std::vector<RecordedLine> Lines() const;
    std::vector<CanvasCall> TextCalls() const;

private:
    int bitsPerPixel_;
    Point position_;
    std::vector<CanvasCall> calls_;
};

}  // namespace korbela
