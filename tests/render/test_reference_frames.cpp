// The renderer against the plain reference renderer, pixel for pixel, on
// random scenes and on every bundled sample, at 1, 2 and 3 threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "render/gmp.h"
#include "render/image_files.h"
#include "render/reference_renderer.h"
#include "render/scene_builder.h"
#include "support/models.h"

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

    // Draws Store in Mode at Width x Height (with focal length Focal and the
    // centre moved by Shift when Focal is not 0) on every renderer and
    // expects the reference's pixels from each.
    void ExpectSameFrames(TFaceStore& Store, TRenderMode Mode, int Width, int Height, int32_t Focal = 0,
                          int32_t Shift = 0)
    {
        TReferenceRenderer& ref = Reference;
        ref.Mode = Mode;
        ref.Width = Width;
        ref.Height = Height;
        ref.Focal = Focal ? Focal : TGMP::FocalLength;
        ref.CentreX = Width / 2 + Shift;
        ref.CentreY = Height / 2 - Shift;
        ref.Render(Store);
        for (auto& gmp : Real) {
            SCOPED_TRACE(::testing::Message() << gmp->ThreadCount() << " threads, mode " << int(Mode) << ", " << Width
                                              << "x" << Height);
            gmp->Resize(Width, Height);
            if (Focal) gmp->SetProjection(ref.Focal, ref.CentreX, ref.CentreY);
            gmp->RenderMode = Mode;
            gmp->ClearToBackColor();
            gmp->RenderScene(Store);
            ASSERT_EQ(FirstDifference(*gmp), "");
        }
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
            } else if (kind == 3) { // corners at z = 0, behind the eye, and not numbers
                faces.push_back({point(), {5, 5, 0}, {uniform(-50, 50), 20, 30}, point()});
                if (f == 1) faces.back()[2].X = std::nanf("");
                if (f == 2) faces.back()[0].Z = std::nanf(""); // and a depth that is not a number
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
        auto store = RandomScene(seed);
        // Every fifth frame is taller than the 768 rows the screen has.
        const int width = 1 + static_cast<int>(random() % 300);
        const int height = seed % 5 == 4 ? 700 + static_cast<int>(random() % 3397) : 1 + static_cast<int>(random() % 260);
        // Every fourth scene as one tile of a picture four times larger.
        const int32_t focal = seed % 4 == 3 ? 4 * TGMP::FocalLength : 0;
        const int32_t shift = focal ? static_cast<int32_t>(random() % 400) - 200 : 0;
        // An untranslated scene also gets a wall whose left edge stands exactly
        // in column -16000, the value that marks a row of the edge table empty.
        if (seed % 2 == 0 && !focal)
            AddObject(*store, 0x00C0C0, {ScreenRect(-16000.0f - width / 2, 40.0f - width / 2, -60, 60)});
        for (const TRenderMode mode : Modes) renderers.ExpectSameFrames(*store, mode, width, height, focal, shift);
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
        auto store = UprightSample(path.string());
        // The 30,000-tube forest in one tall size; the others also tiny and wide.
        const std::vector<std::pair<int, int>> sizes =
            path.stem() == "forest" ? std::vector<std::pair<int, int>>{{801, 1203}}
                                    : std::vector<std::pair<int, int>>{{333, 217}, {640, 769}, {17, 9}, {1, 1}};
        for (const auto& [width, height] : sizes)
            for (const TRenderMode mode : Modes) renderers.ExpectSameFrames(*store, mode, width, height);
    }
}
