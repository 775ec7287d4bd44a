#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "render/face_cache.h"

using namespace verdel;

namespace {

TFaceNode Face(const std::vector<TVector>& Corners)
{
    TFaceNode face{};
    for (int c = 0; c < 4; ++c) face.Corners[c] = Corners[std::min<size_t>(c, Corners.size() - 1)];
    face.CornerCount = static_cast<int32_t>(Corners.size());
    return face;
}

// Every corner projected on its own: what the shortcuts must give.
void ExpectSameProjection(const TProjectedFace& Got, const TFaceNode& Face, const TProjection& Projection,
                          bool CanvasRows)
{
    TProjectedFace expected;
    ProjectFace(Face, Projection, CanvasRows, expected);
    ASSERT_EQ(Got.Count, expected.Count);
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(Got.Valid[c], expected.Valid[c]);
        EXPECT_EQ(Got.Point[c].X, expected.Point[c].X);
        EXPECT_EQ(Got.Point[c].Y, expected.Point[c].Y);
    }
}

} // namespace

// Corners projected in pairs or taken over from the face before must give
// the same points, validity and rounding as projecting each corner, also
// for the values that leave the fast arithmetic: exact and near halves,
// quotients beyond the projection limit, z = 0, NaN and infinities.
TEST(FaceProjection, SharedAndPairedCornersMatchCornerByCornerProjection)
{
    const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
    const std::vector<std::vector<TVector>> hard = {
        {{1, 1, -1000}, {3, 3, -1000}, {5, -1, -1000}, {-3, 7, -1000}},       // quotients of exactly .5
        {{1.0000001f, 1, -1000}, {0.9999999f, 3, -1000}, {2, 2, -3}, {1, 1, -7}}, // near halves
        {{1, 1, 1e-30f}, {1e30f, -1e30f, -1}, {1, 1, -1}, {2, 2, 1e-38f}},   // beyond the limit
        {{1, 1, 0}, {2, 2, -5}, {nan, 1, -5}, {1, 2, -5}},                    // no projection
        {{inf, 1, -5}, {1, 1, inf}, {inf, inf, inf}, {1, -inf, -5}},
        {{4, 4, -10}, {4, 4, -10}, {9, 9, -10}, {9, 9, -10}}, // repeated corners
        {{4, 4, -10}, {8, 1, -10}, {6, 9, -10}},               // a triangle
        {{0, 0, -0.0f}, {-0.0f, 0, -2}, {0, 0, 2}, {0, -0.0f, -2}},
    };
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-300, 300), depth(-900, -1);
    std::vector<TFaceNode> faces;
    for (const auto& corners : hard) faces.push_back(Face(corners));
    // Rings of tube faces: each face's first two corners are the last two of the one before.
    for (int tube = 0; tube < 50; ++tube) {
        TVector a{coordinate(random), coordinate(random), depth(random)}, b{a.X + 1, a.Y, a.Z};
        for (int f = 0; f < 8; ++f) {
            const TVector c{coordinate(random), coordinate(random), depth(random)}, d{c.X, c.Y + 0.5f, c.Z};
            faces.push_back(Face({a, b, c, d}));
            a = d;
            b = c;
        }
    }
    for (const bool canvasRows : {false, true}) {
        for (const TProjection& projection : {TProjection{500, 512, 384}, TProjection{500, 0, 1}}) {
            TProjectedFace projected[2];
            const TFaceNode* previous = nullptr;
            for (size_t f = 0; f < faces.size(); ++f) {
                SCOPED_TRACE(f);
                ProjectFaceAfter(faces[f], previous, projected[(f + 1) % 2], projection, canvasRows,
                                 projected[f % 2]);
                ExpectSameProjection(projected[f % 2], faces[f], projection, canvasRows);
                previous = &faces[f];
            }
        }
    }
}

// A face is held only when every coordinate fits 16 bits; an object with
// one that does not is left to be drawn from its nodes, and so is one whose
// faces overflow its writer's records. Held faces read back unchanged.
TEST(FaceCache, HoldsFacesWithinSixteenBitsAndReadsThemBackUnchanged)
{
    auto cache = std::make_unique<TFaceCache>();
    auto face = [](int32_t X, int32_t Y, int Count, bool ThirdValid) {
        TProjectedFace projected{};
        projected.Count = Count;
        const TScreenPoint points[4] = {{X, Y}, {-32768, 32767}, {7, -9}, {0, 0}};
        for (int c = 0; c < 4; ++c) {
            projected.Point[c] = c < Count ? points[c] : TScreenPoint{};
            projected.Valid[c] = c < Count && (c != 2 || ThirdValid);
        }
        return projected;
    };
    auto writer = TFaceCache::Writer(0, 3);
    cache->BeginObject(writer, 1);
    cache->Add(writer, face(32767, -32768, 4, false), 0x7C1F);
    cache->Add(writer, face(-5, 12, 3, true), 31);
    cache->EndObject(writer, 1);
    ASSERT_TRUE(cache->Holds(1));
    ASSERT_EQ(cache->End(1) - cache->Begin(1), 2);
    const TProjectedFace sent[2] = {face(32767, -32768, 4, false), face(-5, 12, 3, true)};
    const uint16_t paints[2] = {0x7C1F, 31};
    for (int f = 0; f < 2; ++f) {
        SCOPED_TRACE(f);
        TProjectedFace back;
        cache->Begin(1)[f].Unpack(back);
        EXPECT_EQ(cache->Begin(1)[f].Paint, paints[f]);
        EXPECT_EQ(back.Count, sent[f].Count);
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(back.Point[c].X, sent[f].Point[c].X);
            EXPECT_EQ(back.Point[c].Y, sent[f].Point[c].Y);
            EXPECT_EQ(back.Valid[c], sent[f].Valid[c]);
        }
    }
    for (const TScreenPoint outside : {TScreenPoint{32768, 0}, TScreenPoint{0, -32769}, TScreenPoint{1 << 20, 5}}) {
        cache->BeginObject(writer, 2);
        cache->Add(writer, face(outside.X, outside.Y, 4, true), 1);
        cache->EndObject(writer, 2);
        EXPECT_FALSE(cache->Holds(2)) << outside.X << ", " << outside.Y;
    }
    // Object 3 needs two records where one is left; the writer keeps it for the next object.
    cache->BeginObject(writer, 3);
    cache->Add(writer, face(1, 1, 4, true), 1);
    cache->Add(writer, face(2, 2, 4, true), 1);
    cache->EndObject(writer, 3);
    EXPECT_FALSE(cache->Holds(3));
    cache->BeginObject(writer, 4);
    cache->Add(writer, face(3, 3, 4, true), 1);
    cache->EndObject(writer, 4);
    EXPECT_TRUE(cache->Holds(4));
}
