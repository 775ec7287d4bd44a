// Frames drawn on the worker thread, and the store copies it draws from.
#include <gtest/gtest.h>

#include <cstring>
#include <future>

#include "engine/mesh_builder.h"
#include "render/gmp.h"
#include "viewer/frame_worker.h"
#include "viewer/store_copy.h"
#include "viewer/view_preparation.h"

using namespace verdel;

namespace {

// Two objects of two and one faces, in two layers, placed as the viewer places them.
std::unique_ptr<TFaceStore> SmallModel()
{
    auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    builder.MeshVertex(1) = {0, 0, 0};
    builder.MeshVertex(2) = {4, 0, 0};
    builder.MeshVertex(3) = {4, 3, 0};
    builder.MeshVertex(4) = {0, 3, 2};
    builder.MeshFace(1) = {1, 2, 3, 4};
    builder.MeshFace(2) = {1, 3, 4, 4};
    builder.AddMesh(4, 2, 1);
    builder.MeshFace(1) = {2, 3, 4, 4};
    builder.AddMesh(4, 1, 7);
    ComputeBounds(*store);
    PrepareView(*store);
    return store;
}

bool SameFrame(const TDIB16bit& a, const TDIB16bit& b)
{
    return a.Width() == b.Width() && a.Height() == b.Height() && a.Stride() == b.Stride() &&
           std::memcmp(a.Bits(), b.Bits(), static_cast<size_t>(a.Stride()) * a.Height()) == 0;
}

// Draws on the worker and waits for its callback.
class TWaitingWorker {
public:
    TWaitingWorker() : Worker([this] { Done.set_value(); }) {}
    void Draw(TFaceStore& store)
    {
        Done = std::promise<void>();
        std::future<void> finished = Done.get_future();
        Worker.Start(store);
        finished.wait();
        EXPECT_FALSE(Worker.Busy());
    }
    std::promise<void> Done;
    TFrameWorker Worker;
};

} // namespace

TEST(TFrameWorker, DrawsTheSameFrameAsTheRendererOnThisThread)
{
    auto model = SmallModel();
    auto direct = std::make_unique<TGMP>();
    auto worker = std::make_unique<TWaitingWorker>();
    for (const TRenderMode mode : {rmWireframe, rmSolidShade, rmShadedTexture}) {
        SCOPED_TRACE(int(mode));
        for (TGMP* gmp : {direct.get(), &worker->Worker.Renderer()}) {
            gmp->Resize(160, 120);
            gmp->RenderMode = mode;
            gmp->SetBackColor(0x302010);
        }
        direct->ClearToBackColor();
        direct->RenderScene(*model);
        worker->Draw(*model);
        EXPECT_TRUE(SameFrame(worker->Worker.Renderer().Bitmap(), direct->Bitmap()));
    }
}

TEST(StoreCopies, AHeaderCopySharesTheFaces)
{
    auto model = SmallModel();
    auto copy = std::make_unique<TFaceStore>();
    CopyStoreHeader(*model, *copy);
    EXPECT_EQ(copy->ObjectCount, 2);
    EXPECT_EQ(copy->TranslateZ, model->TranslateZ);
    EXPECT_EQ(copy->MaxY, 3.0f);
    EXPECT_EQ(copy->LayerUsed, model->LayerUsed);
    EXPECT_EQ(copy->Object(2).ModelFaces, model->Object(2).ModelFaces);
    EXPECT_EQ(copy->Object(2).Color, model->Object(2).Color);
    // The copy's header is its own.
    model->TranslateX = 99;
    EXPECT_NE(copy->TranslateX, 99.0f);
}

TEST(StoreCopies, AFaceCopyOwnsItsFacesAndReusesThemForTheSameShape)
{
    auto model = SmallModel();
    auto copy = std::make_unique<TFaceStore>();
    CopyStoreFaces(*model, *copy);
    ASSERT_EQ(copy->ObjectCount, 2);
    EXPECT_EQ(CountFaces(*copy), 3);
    const TFaceNode* node = copy->Object(1).ModelFaces;
    EXPECT_NE(node, model->Object(1).ModelFaces);
    EXPECT_EQ(node->Corners[2], (TVector{4, 3, 0}));
    EXPECT_EQ(node->Next->Corners[1], (TVector{4, 3, 0}));

    // The same shape again: the nodes stay, their corners follow the model.
    model->Object(1).ModelFaces->Corners[2] = {7, 7, 7};
    model->TranslateY = 5;
    CopyStoreFaces(*model, *copy);
    EXPECT_EQ(copy->Object(1).ModelFaces, node);
    EXPECT_EQ(node->Corners[2], (TVector{7, 7, 7}));
    EXPECT_EQ(copy->TranslateY, 5.0f);

    // Another shape: built again, with no node of the model.
    auto other = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*other);
    builder.MeshVertex(1) = {1, 0, 0};
    builder.MeshVertex(2) = {0, 1, 0};
    builder.MeshVertex(3) = {0, 0, 1};
    builder.MeshFace(1) = {1, 2, 3, 3};
    builder.AddMesh(3, 1, 2);
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
