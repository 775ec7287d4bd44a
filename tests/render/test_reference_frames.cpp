// The renderer against the plain reference renderer, pixel for pixel, on
// random scenes and on every bundled sample, with renderers of 1, 2 and 3
// threads drawing side by side; a frame given up; the pool of threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <limits>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "render/gmp.h"
#include "render/image_files.h"
#include "render/reference_renderer.h"
#include "render/scene_builder.h"
#include "render/worker_pool.h"
#include "support/models.h"
#include "viewer/store_copy.h"

using namespace verdel;
using namespace verdel::test;

namespace {

const std::array<TRgbImage, LayerCount>& Textures()
{
    static const auto images = LoadLayerImages(VERDEL_DATA "/textures");
    return images;
}

// Renderers of 1, 2 and 3 threads and the reference, with the same light,
// background and textures; each keeps its work texture from frame to frame.
struct TRenderers {
    std::unique_ptr<TGMP> Real[3];
    TReferenceRenderer Reference;

    TRenderers(TVector LightFrom, float Strength, TColor Background)
    {
        for (int t = 0; t < 3; ++t) {
            Real[t] = std::make_unique<TGMP>();
            Real[t]->SetThreadCount(t + 1);
            Real[t]->SetLightSource(LightFrom, {0, 0, 0});
            Real[t]->LightStrength = Strength;
            Real[t]->SetBackColor(Background);
            for (int layer = 1; layer <= LayerCount; ++layer) Real[t]->SetLayerTexture(layer, Textures()[layer - 1]);
        }
        Reference.Light = Real[0]->LightDirection();
        Reference.Strength = Strength;
        Reference.Background = Background;
        for (int layer = 1; layer <= LayerCount; ++layer) Reference.SetLayerImage(layer, Textures()[layer - 1]);
    }

    // Draws Stores[0] in Mode at Width x Height (with focal length Focal and
    // the centre moved by Shift when Focal is not 0) on the reference, and
    // each renderer its own copy of it, all three at once on threads of their
    // own; expects the reference's pixels from each.
    using TStores = std::unique_ptr<TFaceStore>[3];
    void ExpectSameFrames(const TStores& Stores, TRenderMode Mode, int Width, int Height, int32_t Focal = 0,
                          int32_t Shift = 0)
    {
        TReferenceRenderer& ref = Reference;
        ref.Mode = Mode;
        ref.Width = Width;
        ref.Height = Height;
        ref.Focal = Focal ? Focal : TGMP::FocalLength;
        ref.CentreX = Width / 2 + Shift;
        ref.CentreY = Height / 2 - Shift;
        ref.Render(*Stores[0]);
        std::thread threads[3];
        for (int t = 0; t < 3; ++t)
            threads[t] = std::thread([&, t] {
                TGMP& gmp = *Real[t];
                gmp.Resize(Width, Height);
                if (Focal) gmp.SetProjection(ref.Focal, ref.CentreX, ref.CentreY);
                gmp.RenderMode = Mode;
                gmp.ClearToBackColor();
                gmp.RenderScene(*Stores[t]);
            });
        for (std::thread& thread : threads) thread.join();
        for (auto& gmp : Real)
            ASSERT_EQ(FirstDifference(*gmp), "") << gmp->ThreadCount() << " threads, mode " << int(Mode) << ", "
                                                 << Width << "x" << Height;
    }

    // Where the frame first differs from the reference's, or "".
    std::string FirstDifference(const TGMP& Gmp) const
    {
        for (int r = 0; r < Reference.Height; ++r)
            for (int x = 0; x < Reference.Width; ++x)
                if (Gmp.Bitmap().Pixel(x, r) != Reference.At(x, r))
                    return "row " + std::to_string(r) + " (from the bottom) column " + std::to_string(x) + ": " +
                           std::to_string(Gmp.Bitmap().Pixel(x, r)) + " instead of " +
                           std::to_string(Reference.At(x, r));
        return "";
    }
};

// A random scene: tubes whose faces share corners, loose quads and
// triangles, copies at the same depth, faces too large for the face cache,
// corners without a projection, faceless objects and meshes drawn back to front.
std::unique_ptr<TFaceStore> RandomScene(uint32_t Seed)
{
    std::mt19937 random(Seed);
    auto uniform = [&](float low, float high) { return std::uniform_real_distribution<float>(low, high)(random); };
    auto point = [&] { return TVector{uniform(-400, 400), uniform(-400, 400), uniform(-1500, -60)}; };
    auto store = std::make_unique<TFaceStore>();
    if (Seed % 2) {
        store->TranslateX = uniform(-40, 40);
        store->TranslateY = uniform(-40, 40);
        store->TranslateZ = uniform(-40, 40);
    }
    std::vector<TCorners> previous;
    const int objects = 1 + static_cast<int>(random() % 60);
    for (int k = 0; k < objects; ++k) {
        const TColor color = random() % 2 ? LayerColors[1 + random() % LayerCount] : TColor(random() & 0xFFFFFF);
        const int count = static_cast<int>(random() % 10);
        std::vector<TCorners> faces;
        const unsigned kind = random() % 7;
        TVector a = point(), b = point();
        for (int f = 0; f < count; ++f) {
            if (kind == 0) { // a tube: each face begins with the last two corners of the one before
                const TVector c = point(), d = point();
                faces.push_back({a, b, c, d});
                a = d;
                b = c;
            } else if (kind == 1) {
                faces.push_back({point(), point(), point()});
            } else if (kind == 2 && f < 3) { // beyond the face cache's 16-bit coordinates
                const TVector p = point();
                faces.push_back({p, {p.X * 0.05f, p.Y * 0.05f, -2}, {-p.X, p.Y, -5}, {p.X, -p.Y, -3}});
            } else if (kind == 3) { // corners at z = 0, behind the eye, absurdly far or near, and not numbers
                const float inf = std::numeric_limits<float>::infinity();
                faces.push_back({point(), {5, 5, 0}, {uniform(-50, 50), 20, 30}, point()});
                if (f == 1) faces.back()[2].X = std::nanf("");
                if (f == 2) faces.back()[0].Z = std::nanf(""); // and a depth that is not a number
                // Faces that reach the limit of projection are slow to draw: in every tenth scene only.
                if (Seed % 10 != 3) continue;
                if (f == 3) faces.back() = {{1e30f, 1, -500}, {-1e30f, 2, -500}, {3, -1e30f, -500}, {2, 1e30f, -500}};
                if (f == 4) faces.back() = {{inf, 1, -500}, {1, -inf, -500}, {1, 1, inf}, {2, 0, -inf}};
                if (f == 5) faces.back() = {{1, 1, 1e-30f}, {-1, 1, -1e-30f}, {-1, -1, 1e-30f}, {1, -1, 1e-38f}};
                if (f == 6) faces.back() = {{5e6f, 1, -1e-20f}, {-5e6f, 2, 1e-20f}, {3, 9e6f, -500}};
            } else {
                faces.push_back({point(), point(), point(), point()});
            }
        }
        if (kind == 4 && !previous.empty()) { // the same depths as the object before
            faces = previous;
            for (TCorners& face : faces)
                for (TVector& p : face) p.X += 7;
        }
        AddObject(*store, color, faces);
        store->Object(store->ObjectCount).SortFaces = kind == 5 || (kind == 2 && random() % 2);
        // Some claim no faces: the face cache, shared out by the faces the
        // objects count, then overruns its run of records.
        if (random() % 8 == 0) store->Object(store->ObjectCount).FaceCount = 0;
        previous = faces;
    }
    return store;
}

constexpr TRenderMode Modes[] = {rmWireframe, rmSolidShade, rmShadedTexture};

} // namespace

TEST(ReferenceFrames, RandomScenesAtRandomSizesAndProjections)
{
    for (uint32_t seed = 0; seed < 60; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed + 1000);
        const TVector light{float(random() % 400) - 200, float(random() % 400) - 200, float(random() % 400) - 200};
        TRenderers renderers(light, float(random() % 101) / 100, TColor(random() & 0xFFFFFF));
        // Every fifth frame is taller than the 768 rows the screen has.
        const int width = 1 + static_cast<int>(random() % 300);
        const int height = seed % 5 == 4 ? 700 + static_cast<int>(random() % 3397) : 1 + static_cast<int>(random() % 260);
        // Every fourth scene as one tile of a picture four times larger.
        const int32_t focal = seed % 4 == 3 ? 4 * TGMP::FocalLength : 0;
        const int32_t shift = focal ? static_cast<int32_t>(random() % 400) - 200 : 0;
        TRenderers::TStores stores;
        for (auto& store : stores) {
            store = RandomScene(seed);
            // An untranslated scene also gets a wall whose left edge stands exactly
            // in column -16000, the value that marks a row of the edge table empty.
            if (seed % 2 == 0 && !focal)
                AddObject(*store, 0x00C0C0, {ScreenRect(-16000.0f - width / 2, 40.0f - width / 2, -60, 60)});
        }
        for (const TRenderMode mode : Modes) renderers.ExpectSameFrames(stores, mode, width, height, focal, shift);
    }
}

TEST(ReferenceFrames, EverySampleInEveryModeAndSize)
{
    TRenderers renderers({-100, 100, 100}, 0.75f, 0x201000);
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(VERDEL_DATA "/vdfiles"))
        if (entry.path().extension() == ".vd") paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    ASSERT_GE(paths.size(), 20u);
    for (const auto& path : paths) {
        SCOPED_TRACE(path.filename().string());
        TRenderers::TStores stores = {UprightSample(path.string()), std::make_unique<TFaceStore>(),
                                      std::make_unique<TFaceStore>()};
        CopyStoreFaces(*stores[0], *stores[1]);
        CopyStoreFaces(*stores[0], *stores[2]);
        // The 30,000-tube forest in one tall size; the others also tiny and wide.
        const std::vector<std::pair<int, int>> sizes =
            path.stem() == "forest" ? std::vector<std::pair<int, int>>{{801, 1203}}
                                    : std::vector<std::pair<int, int>>{{333, 217}, {640, 769}, {17, 9}, {1, 1}};
        for (const auto& [width, height] : sizes)
            for (const TRenderMode mode : Modes) renderers.ExpectSameFrames(stores, mode, width, height);
    }
}

TEST(ThreadedFrames, AFrameGivenUpKeepsTheWorkTextureItFound)
{
    // A lime face switches the work texture to layer 3's, unless its frame is given up.
    auto lime = std::make_unique<TFaceStore>();
    AddObject(*lime, LayerColors[3], {ScreenRect(-4, 4, -4, 4)});
    for (const int threads : {1, 2}) {
        SCOPED_TRACE(threads);
        TGMP gmp;
        gmp.SetThreadCount(threads);
        gmp.SetLayerTexture(3, Textures()[2]);
        gmp.Resize(30, 20);
        gmp.RenderMode = rmShadedTexture;
        const TTexture before = gmp.WorkTexture();
        TCancelToken cancel;
        cancel.Cancel();
        EXPECT_FALSE(gmp.RenderScene(*lime, cancel));
        EXPECT_EQ(gmp.WorkTexture(), before);
        cancel.Reset();
        EXPECT_TRUE(gmp.RenderScene(*lime, cancel));
        EXPECT_EQ(gmp.WorkTexture(), gmp.LayerTexture(3));
    }
}

TEST(WorkerPool, EveryRunCallsEachThreadNumberOnceOnItsOwnThread)
{
    for (const int size : {1, 2, 3, 5}) {
        SCOPED_TRACE(size);
        TWorkerPool pool(size);
        ASSERT_EQ(pool.Size(), size);
        for (int round = 0; round < 200; ++round) {
            const int count = 1 + round % size;
            std::vector<int> calls(static_cast<size_t>(size), 0);
            std::vector<std::thread::id> ids(static_cast<size_t>(size));
            auto task = [&](int t) {
                ++calls[static_cast<size_t>(t)];
                ids[static_cast<size_t>(t)] = std::this_thread::get_id();
            };
            pool.Run(count, task);
            // Every call has returned by now, so plain ints can be read.
            for (int t = 0; t < size; ++t) ASSERT_EQ(calls[static_cast<size_t>(t)], t < count ? 1 : 0) << t;
            EXPECT_EQ(ids[0], std::this_thread::get_id());
            EXPECT_EQ(std::set<std::thread::id>(ids.begin(), ids.begin() + count).size(), static_cast<size_t>(count));
        }
    }
}

TEST(WorkerPool, CountsAreClampedToThePool)
{
    TWorkerPool pool(2);
    std::atomic<int> calls{0};
    auto task = [&](int) { ++calls; };
    pool.Run(0, task);
    pool.Run(9, task);
    EXPECT_EQ(calls, 1 + 2);
    TGMP gmp;
    EXPECT_EQ(gmp.ThreadCount(), TWorkerPool::MachineThreads());
    EXPECT_LE(TWorkerPool::MachineThreads(), TWorkerPool::MaxThreads);
    gmp.SetThreadCount(0);
    EXPECT_EQ(gmp.ThreadCount(), 1);
    gmp.SetThreadCount(1000);
    EXPECT_EQ(gmp.ThreadCount(), TWorkerPool::MaxThreads);
}
