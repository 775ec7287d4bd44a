// Frames drawn on the worker thread, and the store copies it draws from.
#include <gtest/gtest.h>

#include <cstring>
#include <future>

#include "render/gmp.h"
#include "render/scene_builder.h"
#include "viewer/frame_worker.h"
#include "viewer/store_copy.h"
#include "viewer/view_preparation.h"

using namespace verdel;
using verdel::test::AddObject;

namespace {

// Two objects of two and one faces, in layers 1 and 7, placed as the viewer places them.
std::unique_ptr<TFaceStore> SmallModel()
{
    auto store = std::make_unique<TFaceStore>();
    AddObject(*store, LayerColors[1], {{{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 2}}, {{0, 0, 0}, {4, 3, 0}, {0, 3, 2}}});
    AddObject(*store, LayerColors[7], {{{4, 0, 0}, {4, 3, 0}, {0, 3, 2}}});
    store->LayerUsed[1] = store->LayerUsed[7] = true;
    ComputeBounds(*store);
    PrepareView(*store);
    return store;
}

} // namespace

TEST(TFrameWorker, DrawsTheSameFrameAsTheRendererOnThisThread)
{
    auto model = SmallModel();
    TGMP direct;
    std::promise<void> done;
    TFrameWorker worker([&] { done.set_value(); });
    for (const TRenderMode mode : {rmWireframe, rmSolidShade, rmShadedTexture}) {
        SCOPED_TRACE(int(mode));
        for (TGMP* gmp : {&direct, &worker.Renderer()}) {
            gmp->Resize(160, 120);
            gmp->RenderMode = mode;
            gmp->SetBackColor(0x302010);
        }
        direct.ClearToBackColor();
        direct.RenderScene(*model);
        done = std::promise<void>();
        std::future<void> finished = done.get_future();
        worker.Start(*model);
        finished.wait();
        EXPECT_FALSE(worker.Busy());
        const TDIB16bit &a = worker.Renderer().Bitmap(), &b = direct.Bitmap();
        EXPECT_EQ(std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(a.Stride()) * a.Height()), 0);
    }
}

TEST(StoreCopies, HeaderCopiesShareTheFacesFaceCopiesOwnThem)
{
    auto model = SmallModel();
    auto header = std::make_unique<TFaceStore>();
    CopyStoreHeader(*model, *header);
    EXPECT_EQ(header->ObjectCount, 2);
    EXPECT_EQ(header->TranslateZ, model->TranslateZ);
    EXPECT_EQ(header->LayerUsed, model->LayerUsed);
    EXPECT_EQ(header->Object(2).ModelFaces, model->Object(2).ModelFaces);

    auto copy = std::make_unique<TFaceStore>();
    CopyStoreFaces(*model, *copy);
    ASSERT_EQ(copy->ObjectCount, 2);
    EXPECT_EQ(CountFaces(*copy), 3);
    const TFaceNode* node = copy->Object(1).ModelFaces;
    EXPECT_NE(node, model->Object(1).ModelFaces);
    EXPECT_EQ(node->Corners[2], (TVector{4, 3, 0}));
    EXPECT_EQ(node->Next->Corners[1], (TVector{4, 3, 0}));
    // The same shape again: the nodes stay, their corners and the header follow the model.
    model->Object(1).ModelFaces->Corners[2] = {7, 7, 7};
    model->TranslateY = 5;
    CopyStoreFaces(*model, *copy);
    EXPECT_EQ(copy->Object(1).ModelFaces, node);
    EXPECT_EQ(node->Corners[2], (TVector{7, 7, 7}));
    EXPECT_EQ(copy->TranslateY, 5.0f);
    EXPECT_NE(header->TranslateY, 5.0f);
    // Another shape: built again, with no node of the model.
    auto other = std::make_unique<TFaceStore>();
    AddObject(*other, 0xFF, {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
    CopyStoreFaces(*other, *copy);
    EXPECT_EQ(copy->ObjectCount, 1);
    EXPECT_EQ(CountFaces(*copy), 1);
    EXPECT_NE(copy->Object(1).ModelFaces, other->Object(1).ModelFaces);
    EXPECT_EQ(copy->Object(1).ModelFaces->Corners[1], (TVector{0, 1, 0}));
}

TEST(StoreCopies, SwapExchangesEverythingAndTheFacesStayValid)
{
    auto model = SmallModel();
    auto empty = std::make_unique<TFaceStore>();
    const TFaceNode* first = model->Object(1).ModelFaces;
    const float translateZ = model->TranslateZ;
    SwapStores(*model, *empty);
    EXPECT_EQ(model->ObjectCount, 0);
    EXPECT_EQ(empty->ObjectCount, 2);
    EXPECT_EQ(empty->TranslateZ, translateZ);
    EXPECT_EQ(empty->Object(1).ModelFaces, first);
    EXPECT_EQ(first->Corners[1], (TVector{4, 0, 0}));
    EXPECT_TRUE(empty->LayerUsed[7]);
    EXPECT_FALSE(model->LayerUsed[7]);
    // Freeing the store that now holds them releases them; the other is untouched.
    FreeScene(*empty);
    EXPECT_EQ(CountFaces(*model), 0);
}
