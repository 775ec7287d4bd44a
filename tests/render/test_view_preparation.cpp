#include <gtest/gtest.h>

#include <memory>

#include "formats/dxf_reader.h"
#include "viewer/view_preparation.h"

using namespace verdel;

TEST(PrepareView, CentresXAndYAndPlacesTheModelAtTwiceItsSize)
{
    const struct {
        const char* name;
        float max[3], min[3];
        float size, translate[3];
    } cases[] = {
        {"empty store", {0, 0, 0}, {0, 0, 0}, 1, {0, 0, -2}},
        {"positive side only", {4, 2, 1}, {0, 0, 0}, 4, {-2, -1, -8}},
        {"deep in z", {1, 1, 10}, {-1, -3, -2}, 12, {0, 1, -24}},
        {"wide in y", {5, 8, 0}, {-3, -8, 0}, 16, {-1, 0, -32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto store = std::make_unique<TFaceStore>();
        store->MaxX = c.max[0], store->MaxY = c.max[1], store->MaxZ = c.max[2];
        store->MinX = c.min[0], store->MinY = c.min[1], store->MinZ = c.min[2];
        const TViewPreparation view = PrepareView(*store);
        EXPECT_EQ(view.ModelSize, c.size);
        EXPECT_EQ(store->TranslateX, c.translate[0]);
        EXPECT_EQ(store->TranslateY, c.translate[1]);
        EXPECT_EQ(store->TranslateZ, c.translate[2]);
    }
}

TEST(PrepareView, ShowsTheButtonsOfTheUsedLayersOnly)
{
    auto store = std::make_unique<TFaceStore>();
    EXPECT_EQ(PrepareView(*store).LayerButtonVisible, (std::array<bool, 12>{}));
    store->LayerUsed[1] = store->LayerUsed[3] = true;
    store->LayerUsed[0] = true; // not a button
    const auto visible = PrepareView(*store).LayerButtonVisible;
    for (int layer = 1; layer <= 12; ++layer) EXPECT_EQ(visible[layer - 1], layer == 1 || layer == 3) << layer;
}

TEST(Outline, TheBundledOutlineIsOneMeshOfSixFaces)
{
    auto store = std::make_unique<TFaceStore>();
    ReadDXFFile(*store, std::string(VERDEL_DATA) + "/outline.dxf");
    ASSERT_EQ(store->ObjectCount, 1);
    EXPECT_EQ(store->Object(1).FaceCount, 6);
    EXPECT_EQ(CountFaces(*store), 6);
}
