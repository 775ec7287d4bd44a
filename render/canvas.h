// Line drawing into the frame buffer, with rows counted downward from the top.
#pragma once

#include <cstdint>

#include "engine/face_store.h"
#include "render/dib16.h"

namespace verdel {

// The colour a canvas reports for a point outside its bitmap.
constexpr TColor InvalidColor = 0xFFFFFFFF;

// A canvas on a frame buffer: the renderer's wireframe lines and whatever the
// owner draws over a finished frame. Rows count downward from the top; lines
// are one pixel wide and leave their last point unset; the pen colour keeps
// the high five bits of each channel.
class TCanvas {
public:
    explicit TCanvas(TDIB16bit& target) : Target(target) {}

    // The pen colour, 0x00BBGGRR.
    TColor PenColor = 0;

    // Sets the current point.
    void MoveTo(int X, int Y)
    {
        PenX = X;
        PenY = Y;
    }

    // Draws from the current point to (X, Y), which becomes the current point.
    void LineTo(int X, int Y);

    // The colour of a pixel widened to 8 bits per channel; InvalidColor outside.
    TColor Pixel(int X, int Y) const;

    // Draws the line from (X0, Y0) up to, not including, (X1, Y1) in an
    // RGB555 colour, clipped to the buffer: only the pixels inside are visited.
    void Line(int X0, int Y0, int X1, int Y1, uint16_t Color16)
    {
        Line(X0, Y0, X1, Y1, Color16, 0, Target.Height() - 1);
    }

    // The same line's pixels in rows FirstRow..LastRow only (counted from
    // the top, within the buffer): the lines of several bands of rows make
    // up the whole line.
    void Line(int X0, int Y0, int X1, int Y1, uint16_t Color16, int FirstRow, int LastRow);

private:
    TDIB16bit& Target;
    int PenX = 0;
    int PenY = 0;
};

} // namespace verdel
