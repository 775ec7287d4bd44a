// A plain renderer to compare the real one with: every corner projected on
// its own in extended precision, the objects put in order by a plain
// selection sort, each face filled row by row from a plain edge walk, and
// colours lit channel by channel. Slow and simple on purpose: the renderer's
// caches, paired projections, vector lighting, sorting and span tricks must
// give exactly its pixels.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/face_store.h"
#include "render/gmp.h"

namespace verdel::test {

class TReferenceRenderer {
public:
    TRenderMode Mode = rmWireframe;
    int Width = 0, Height = 0;
    int32_t Focal = 500, CentreX = 0, CentreY = 0;
    TColor Background = 0;
    TVector Light;           // unit vector towards the light
    float Strength = 0.75f;  // the light's strength
    std::array<TTexture, LayerCount> Layers{};
    TTexture Work{};         // the texture in use, kept from frame to frame
    std::vector<uint16_t> Pixels; // rows from the bottom, Width per row

    // Rows from the bottom of the real renderer's buffer, as the frame would be.
    uint16_t At(int X, int Row) const { return Pixels[static_cast<size_t>(Row) * Width + X]; }

    void SetLayerImage(int Layer, const TRgbImage& Image)
    {
        for (int x = 0; x < TextureSize; ++x)
            for (int y = 0; y < TextureSize; ++y) Layers[Layer - 1][x * TextureSize + y] = To16(Image.Pixel(x, y));
    }

    void Render(const TFaceStore& Store)
    {
        for (int c = 0; c < 32; ++c)
            for (int level = 0; level < 32; ++level) Shades[c][level] = Shade(c, level);
        Pixels.assign(static_cast<size_t>(Width) * Height, To16(Background));
        std::vector<TObjectView> views(static_cast<size_t>(std::clamp(Store.ObjectCount, 0, MaxObjects)));
        for (size_t k = 0; k < views.size(); ++k) views[k] = View(Store, Store.Objects[k]);
        if (Mode == rmWireframe) {
            for (const TObjectView& view : views)
                for (const TFace& face : view.Faces) Outline(face, view.Color);
            return;
        }
        std::vector<int> order(views.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            size_t best = i;
            for (size_t j = i + 1; j < order.size(); ++j)
                if (views[order[j]].Depth < views[order[best]].Depth) best = j;
            std::swap(order[i], order[best]);
        }
        for (const int k : order) {
            const TObjectView& view = views[k];
            // A textured frame draws with the texture of the last layer colour filled.
            for (int l = 1; l <= LayerCount && Mode == rmShadedTexture; ++l)
                if (LayerColors[l] == view.Color) {
                    if (!view.Faces.empty()) Work = Layers[l - 1];
                    break;
                }
            std::vector<const TFace*> faces;
            for (const TFace& face : view.Faces) faces.push_back(&face);
            if (view.SortFaces)
                std::stable_sort(faces.begin(), faces.end(),
                                 [](const TFace* a, const TFace* b) { return a->MeanZ < b->MeanZ; });
            for (const TFace* face : faces) Fill(*face);
        }
    }

private:
    struct TPoint {
        int64_t X = 0, Y = 0;
        bool Valid = false;
    };
    struct TFace {
        int Count = 4;
        TVector Corner[4];
        float Intensity = 0, MeanZ = 0;
        uint16_t Color16 = 0;
    };
    struct TObjectView {
        std::vector<TFace> Faces;
        TColor Color = 0;
        float Depth = 0;
        bool SortFaces = false;
    };
    // A row of the edge table; an XMin of Empty marks a row no edge has reached.
    static constexpr int64_t Empty = -16000;
    struct TRow {
        int64_t Min = Empty, Max = 0, UMin = 0, VMin = 0, UMax = 0, VMax = 0;
    };
    std::vector<TRow> Rows; // the edge table of the face being filled, all empty between faces
    int Shades[32][32] = {};  // Shade of every 5-bit channel and level

    static constexpr long double Limit = 1 << 20;
    static int64_t Round(long double Value)
    {
        if (std::isnan(Value)) return 0;
        return static_cast<int64_t>(std::nearbyint(std::clamp(Value, -Limit, Limit)));
    }
    static int Channel5(int Channel)
    {
        const float t = static_cast<float>(Channel * 0.390625L);
        return static_cast<int>(Round(static_cast<float>(0.31L * t)));
    }
    static uint16_t To16(TColor Color)
    {
        return static_cast<uint16_t>(Channel5(Color & 0xFF) << 10 | Channel5(Color >> 8 & 0xFF) << 5 |
                                     Channel5(Color >> 16 & 0xFF));
    }
    // The 5-bit channel C at shade level S.
    static int Shade(int C, int S)
    {
        const long double a = static_cast<float>((31.0L - C) / 16.0L), b = static_cast<float>(C / 15.0L);
        return static_cast<int>(S <= 15 ? Round(S * b) : Round((S - 15) * a + 15 * b));
    }
    float Intensity(const TVector* P) const
    {
        const TVector a = P[1] - P[0], b = P[2] - P[0];
        const float nx = a.Y * b.Z - a.Z * b.Y, ny = -(a.X * b.Z - a.Z * b.X), nz = a.X * b.Y - a.Y * b.X;
        const float d = nx * Light.X + ny * Light.Y + nz * Light.Z;
        float length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (length == 0) length = 1e-7f;
        const float lit = 31.0f / length * d * Strength;
        return std::min(static_cast<float>(TGMP::AmbientLevel) + (lit >= 0 ? lit : 0.0f), 31.0f);
    }
    static int Lit(int Channel, float I)
    {
        const int rest = 255 - Channel;
        return rest == 0 ? 255 : std::clamp<int>(Channel + Round(rest * 0.032258L * I), 0, 255);
    }

    TObjectView View(const TFaceStore& Store, const TFaceObject& Object) const
    {
        TObjectView view{{}, Object.Color, Object.Depth, Object.SortFaces};
        const TVector shift{Store.TranslateX, Store.TranslateY, Store.TranslateZ};
        const TFaceNode* model = Object.ModelFaces;
        float depthSum = 0;
        for (const TFaceNode* node = Object.ViewFaces; node; node = node->Next) {
            TFace face;
            face.Count = node->CornerCount == 3 ? 3 : 4;
            float zSum = 0, depth = 0;
            for (int c = 0; c < 4; ++c) {
                face.Corner[c] = model ? model->Corners[c] + shift : node->Corners[c];
                if (c < face.Count) zSum += face.Corner[c].Z;
                if (c == 0 || (c < face.Count && face.Corner[c].Z > depth)) depth = face.Corner[c].Z;
            }
            if (model) model = model->Next;
            face.MeanZ = zSum / static_cast<float>(face.Count);
            face.Intensity = Intensity(face.Corner);
            const float I = face.Intensity;
            const TColor c = Object.Color;
            face.Color16 = To16(Lit(c & 0xFF, I) | Lit(c >> 8 & 0xFF, I) << 8 | Lit(c >> 16 & 0xFF, I) << 16);
            depthSum += depth;
            view.Faces.push_back(face);
        }
        if (!view.Faces.empty()) view.Depth = depthSum / static_cast<float>(view.Faces.size());
        return view;
    }

    // A corner's column and row: from the top on the canvas, else from the bottom.
    TPoint Project(const TVector& P, bool CanvasRows) const
    {
        const long double qx = static_cast<long double>(Focal) * P.X / P.Z;
        const long double qy = static_cast<long double>(Focal) * P.Y / P.Z;
        if (P.Z == 0 || std::isnan(qx) || std::isnan(qy)) return {};
        return {CentreX + Round(qx), CanvasRows ? Round(CentreY + qy) : Round(CentreY - qy), true};
    }

    void Put(int64_t X, int64_t Row, uint16_t Color)
    {
        if (X >= 0 && X < Width && Row >= 0 && Row < Height) Pixels[static_cast<size_t>(Row * Width + X)] = Color;
    }

    // Each edge between projected corners, its last point left out; pixel i
    // of the longer axis takes the other axis rounded half up towards the end.
    void Outline(const TFace& Face, TColor Color)
    {
        const uint16_t pen = static_cast<uint16_t>((Color & 0xFF) >> 3 << 10 | (Color >> 8 & 0xFF) >> 3 << 5 |
                                                   (Color >> 16 & 0xFF) >> 3);
        for (int c = 0; c < Face.Count; ++c) {
            const TPoint a = Project(Face.Corner[c], true), b = Project(Face.Corner[(c + 1) % Face.Count], true);
            if (!a.Valid || !b.Valid) continue;
            const int64_t dx = b.X - a.X, dy = b.Y - a.Y;
            const int64_t major = std::max(std::abs(dx), std::abs(dy)), minor = std::min(std::abs(dx), std::abs(dy));
            const bool xMajor = std::abs(dx) >= std::abs(dy);
            // Only the pixels whose coordinate along the longer axis lies in the buffer.
            const int64_t start = xMajor ? a.X : a.Y, limit = xMajor ? Width - 1 : Height - 1;
            const bool up = (xMajor ? dx : dy) > 0;
            const int64_t first = std::max<int64_t>(0, up ? -start : start - limit);
            const int64_t last = std::min(major - 1, up ? limit - start : start);
            for (int64_t i = first; i <= last; ++i) {
                const int64_t along = i, across = (2 * i * minor + major) / (2 * major);
                const int64_t x = a.X + (dx < 0 ? -1 : 1) * (xMajor ? along : across);
                const int64_t y = a.Y + (dy < 0 ? -1 : 1) * (xMajor ? across : along);
                Put(x, Height - 1 - y, pen);
            }
        }
    }

    void Fill(const TFace& Face)
    {
        static constexpr int64_t Triangle[3][2] = {{63, 0}, {0, 127}, {127, 127}};
        static constexpr int64_t Quad[4][2] = {{127, 0}, {127, 127}, {0, 127}, {0, 0}};
        const auto& coords = Face.Count == 3 ? Triangle : Quad;
        std::vector<TRow>& rows = Rows;
        rows.resize(static_cast<size_t>(Height));
        int64_t low = Height, high = -1; // the rows this face wrote, emptied again at the end
        for (int c = 0; c < Face.Count; ++c) {
            const int n = (c + 1) % Face.Count;
            TPoint a = Project(Face.Corner[c], false), b = Project(Face.Corner[n], false);
            if (!a.Valid || !b.Valid || a.Y == b.Y) continue;
            int64_t ua = coords[c][0], va = coords[c][1], ub = coords[n][0], vb = coords[n][1];
            if (a.Y > b.Y) std::swap(a, b), std::swap(ua, ub), std::swap(va, vb);
            const int64_t dy = b.Y - a.Y, du = (ub - ua) * 256 / dy, dv = (vb - va) * 256 / dy;
            const float slope = static_cast<float>(b.X - a.X) / static_cast<float>(dy);
            float x = static_cast<float>(a.X);
            for (int64_t y = a.Y; y <= b.Y && y < Height; ++y, x += slope) {
                if (y < 0) continue;
                low = std::min(low, y), high = std::max(high, y);
                TRow& row = rows[static_cast<size_t>(y)];
                const int64_t rounded = static_cast<int64_t>(std::nearbyint(x)), u = ua * 256 + (y - a.Y) * du, v = va * 256 + (y - a.Y) * dv;
                if (row.Min == Empty) {
                    row = {rounded, rounded, u / 256, v / 256, u / 256, v / 256};
                    continue;
                }
                // An end moves only when the edge lies strictly beyond it (the right end first).
                if (static_cast<float>(row.Max) < x) row.Max = rounded, row.UMax = u / 256, row.VMax = v / 256;
                if (static_cast<float>(row.Min) > x) row.Min = rounded, row.UMin = u / 256, row.VMin = v / 256;
            }
        }
        const int level = static_cast<int>(Round(Face.Intensity)) & 31;
        for (int64_t y = low; y <= high; ++y) {
            TRow row = rows[static_cast<size_t>(y)];
            rows[static_cast<size_t>(y)] = TRow{};
            if (row.Min == Empty) continue;
            const int64_t w = row.Max - row.Min + 1;
            const int64_t du = (row.UMax - row.UMin) * 256 / w, dv = (row.VMax - row.VMin) * 256 / w;
            for (int64_t x = std::max<int64_t>(row.Min, 0); x <= std::min<int64_t>(row.Max, Width - 1); ++x) {
                if (Mode == rmSolidShade) {
                    Put(x, y, Face.Color16);
                    continue;
                }
                const int64_t u = row.UMin * 256 + (x - row.Min) * du, v = row.VMin * 256 + (x - row.Min) * dv;
                const uint16_t texel = Work[((u >> 8) & 127) * TextureSize + ((v >> 8) & 127)];
                Put(x, y, static_cast<uint16_t>(Shades[texel >> 10 & 31][level] << 10 |
                                                Shades[texel >> 5 & 31][level] << 5 | Shades[texel & 31][level]));
            }
        }
    }
};

} // namespace verdel::test
