#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

#include "engine/mesh_builder.h"
#include "engine/text_number.h"

using namespace verdel;

namespace {

// Fills a cube of edge 10 at x = 5..15 and adds it.
bool AddCube(TMeshBuilder& builder, int colorIndex)
{
    const float lo = 5, hi = 15;
    const TVector corners[8] = {{lo, lo, lo}, {hi, lo, lo}, {hi, hi, lo}, {lo, hi, lo},
                                {lo, lo, hi}, {hi, lo, hi}, {hi, hi, hi}, {lo, hi, hi}};
    for (int i = 0; i < 8; ++i) builder.MeshVertex(i + 1) = corners[i];
    const uint16_t faces[6][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};
    for (int f = 0; f < 6; ++f) builder.MeshFace(f + 1) = {faces[f][0], faces[f][1], faces[f][2], faces[f][3]};
    return builder.AddMesh(8, 6, colorIndex);
}

// The rounding as text: ten decimals, read back as a Single.
float RoundThroughText(float value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.10f", static_cast<double>(value));
    return ToSingle(TextToFloat(text));
}

} // namespace

TEST(AddMesh, AddsOneObjectWithTwoEqualFaceLists)
{
    auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    builder.Reset();
    ASSERT_TRUE(AddCube(builder, 3));
    ASSERT_EQ(store->ObjectCount, 1);
    const TFaceObject& object = store->Object(1);
    EXPECT_EQ(std::vector<int>({object.FaceCount, object.VertexCount, object.ColorIndex}), std::vector<int>({6, 8, 3}));
    EXPECT_EQ(object.Color, 0x00FF00u);
    EXPECT_TRUE(store->LayerUsed[3]);
    EXPECT_FALSE(store->LayerUsed[1]);
    // The model's faces and the view's: as many, each a copy of its own.
    int faces = 0;
    const TFaceNode *model = object.ModelFaces, *view = object.ViewFaces;
    for (; model && view; model = model->Next, view = view->Next, ++faces) {
        EXPECT_NE(model, view);
        EXPECT_TRUE(std::equal(model->Corners, model->Corners + 4, view->Corners));
        EXPECT_TRUE(std::equal(model->CornerIndex, model->CornerIndex + 4, view->CornerIndex));
        EXPECT_EQ(model->FaceColor, object.Color);
    }
    EXPECT_EQ(faces, 6);
    EXPECT_EQ(model, view);
    EXPECT_EQ(store->Object(1).ModelFaces->Corners[2], (TVector{15, 15, 5}));
}

TEST(AddMesh, RefusesObjectsBeyondTheTable)
{
    auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    store->ObjectCount = MaxObjects - 1;
    EXPECT_TRUE(AddCube(builder, 1));
    EXPECT_FALSE(AddCube(builder, 2));
    EXPECT_EQ(store->ObjectCount, MaxObjects);
    EXPECT_FALSE(store->LayerUsed[2]);
}

// Ten decimals as formatting the value as text and reading it back give them.
TEST(RoundToTenDecimals, AgreesWithFormattingAsText)
{
    EXPECT_EQ(RoundToTenDecimals(1e-12f), 0.0f);
    EXPECT_FALSE(std::signbit(RoundToTenDecimals(-1e-12f)));
    EXPECT_EQ(RoundToTenDecimals(3.5355339f), 3.5355339f);
    EXPECT_EQ(RoundToTenDecimals(0x1p-11f), RoundThroughText(0x1p-11f)); // an exact tie at the tenth decimal
    std::mt19937 random(7);
    std::uniform_int_distribution<uint32_t> bits;
    int checked = 0;
    while (checked < 200000) {
        // Every magnitude below 2^-9 and a spread of larger ones.
        const uint32_t pattern = bits(random);
        float value;
        std::memcpy(&value, &pattern, sizeof value);
        if (!std::isfinite(value) || std::fabs(value) > 1e6f) continue;
        if (checked % 2 == 0) value = std::ldexp(std::fmod(value, 1.0f), -(checked % 40));
        ASSERT_EQ(RoundToTenDecimals(value), RoundThroughText(value)) << value;
        ++checked;
    }
}

TEST(ComputeBounds, AlwaysContainsTheOrigin)
{
    auto store = std::make_unique<TFaceStore>();
    ComputeBounds(*store);
    for (float bound : {store->MinX, store->MinY, store->MinZ, store->MaxX, store->MaxY, store->MaxZ})
        EXPECT_EQ(bound, 0.0f);

    TMeshBuilder builder(*store);
    ASSERT_TRUE(AddCube(builder, 1));
    ComputeBounds(*store);
    EXPECT_EQ(store->MinX, 0.0f);
    EXPECT_EQ(store->MaxX, 15.0f);
    EXPECT_EQ(store->MaxZ, 15.0f);
}

TEST(FreeScene, EmptiesTheStore)
{
    auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    ASSERT_TRUE(AddCube(builder, 1));
    ASSERT_TRUE(AddCube(builder, 2));
    FreeScene(*store);
    EXPECT_EQ(store->ObjectCount, 0);
    EXPECT_EQ(store->Object(2).ViewFaces, nullptr);
    EXPECT_EQ(CountFaces(*store), 0);
}
