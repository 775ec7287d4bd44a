// The textured half of the edge table: edges carrying texture coordinates and textured spans.
#include <algorithm>
#include <cmath>
#include <utility>

#include "render/edge_table.h"
#include "render/render_math.h"

namespace verdel {

void TEdgeTable::ScanTexturedEdge(TScreenPoint A, TScreenPoint B, TTexCoord TexA, TTexCoord TexB)
{
    if (A.Y == B.Y) return;
    if (A.Y > B.Y) {
        std::swap(A, B);
        std::swap(TexA, TexB);
    }
    const int32_t dy = B.Y - A.Y;
    const float slope = StepPerRow(B.X - A.X, dy);
    float x = static_cast<float>(A.X);
    // Fixed point with eight fraction bits; the division truncates toward
    // zero, so u and v never pass the far end and never go negative.
    const int32_t du = FixedStep(TexB.U - TexA.U, dy);
    const int32_t dv = FixedStep(TexB.V - TexA.V, dy);
    int first, last;
    if (!EnterBuffer(A.Y, B.Y, slope, x, first, last)) return;
    int32_t u = TexA.U * 256 + static_cast<int32_t>(int64_t(first - A.Y) * du);
    int32_t v = TexA.V * 256 + static_cast<int32_t>(int64_t(first - A.Y) * dv);
    Touch(first, last);
    for (int y = first; y <= last; ++y, x += slope, u += du, v += dv) {
        if (MinX[y] == Empty) {
            MinX[y] = MaxX[y] = RoundToInt(x);
            ULeft[y] = URight[y] = u / 256;
            VLeft[y] = VRight[y] = v / 256;
            continue;
        }
        if (MaxX[y] < x) {
            MaxX[y] = RoundToInt(x);
            URight[y] = u / 256;
            VRight[y] = v / 256;
        }
        if (MinX[y] > x) {
            MinX[y] = RoundToInt(x);
            ULeft[y] = u / 256;
            VLeft[y] = v / 256;
        }
    }
}

void TEdgeTable::FillTexturedSpans(TDIB16bit& Frame, const TTexture& Texture, const TShadeRamp& Ramp) const
{
    const int width = Frame.Width();
    const uint16_t* texels = Texture.data();
    for (int y = Low; y <= High; ++y) {
        if (MinX[y] == Empty) continue;
        // Most spans of a large model are one pixel inside the buffer: its
        // texel is the one at the row's left coordinates, as the steps below
        // would give it.
        if (MinX[y] == MaxX[y] && static_cast<uint32_t>(MinX[y]) < static_cast<uint32_t>(width)) {
            const int32_t u = ULeft[y] * 256, v = VLeft[y] * 256;
            Frame.RowTable[y][MinX[y]] = Ramp(texels[((u >> 8) & 127) * TextureSize + ((v >> 8) & 127)]);
            continue;
        }
        // The steps span the whole row, also the part outside the buffer.
        const int32_t w = MaxX[y] - MinX[y] + 1;
        const int32_t du = FixedStep(URight[y] - ULeft[y], w);
        const int32_t dv = FixedStep(VRight[y] - VLeft[y], w);
        const int32_t left = std::max(MinX[y], 0);
        const int32_t right = std::min(MaxX[y], width - 1);
        if (left > right) continue;
        int32_t u = ULeft[y] * 256 + static_cast<int32_t>(int64_t(left - MinX[y]) * du);
        int32_t v = VLeft[y] * 256 + static_cast<int32_t>(int64_t(left - MinX[y]) * dv);
        uint16_t* pixel = Frame.RowTable[y] + left;
        uint16_t* const end = Frame.RowTable[y] + right + 1;
        // u and v stay within 0..127 x 256; the mask only guards the memory.
        for (; pixel != end; ++pixel, u += du, v += dv)
            *pixel = Ramp(texels[((u >> 8) & 127) * TextureSize + ((v >> 8) & 127)]);
    }
}

} // namespace verdel
