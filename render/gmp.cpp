#include "render/gmp.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace verdel {

TGMP::TGMP() : Shades(BuildShadeTable()), Ramps(BuildShadeRamps(Shades))
{
    SetThreadCount(TWorkerPool::MachineThreads());
    Resize(200, 200);
    SetLightSource({100, 0, -100}, {0, 0, 0});
}

void TGMP::Resize(int NewWidth, int NewHeight)
{
    NewWidth = std::max(NewWidth, 0);
    NewHeight = std::clamp(NewHeight, 0, MaxHeight);
    Frame.Create(NewWidth, NewHeight);
    Projection.Focal = FocalLength;
    Projection.CentreX = NewWidth / 2;
    Projection.CentreY = NewHeight / 2;
    for (TEdgeTable& edges : BandEdges) edges.SetHeight(NewHeight);
    Load.SetSize(ThreadCount(), NewHeight);
}

void TGMP::SetProjection(int32_t Focal, int32_t CentreX, int32_t CentreY)
{
    Projection.Focal = Focal;
    Projection.CentreX = CentreX;
    Projection.CentreY = CentreY;
}

void TGMP::SetThreadCount(int Count)
{
    Count = std::clamp(Count, 1, TWorkerPool::MaxThreads);
    if (Pool && Pool->Size() == Count) return;
    Pool.reset();
    Pool = std::make_unique<TWorkerPool>(Count);
    BandEdges.resize(static_cast<size_t>(Count));
    Sorters.resize(static_cast<size_t>(Count));
    for (TEdgeTable& edges : BandEdges) edges.SetHeight(Frame.Height());
    Load.SetSize(Count, Frame.Height());
}

void TGMP::ClearToBackColor() { Frame.Fill(ColorTo16(Background)); }

void TGMP::Flip()
{
    if (BeforeFlip) BeforeFlip(FrameCanvas);
    if (Presenter) Presenter(Frame);
}

void TGMP::Paint()
{
    ClearToBackColor();
    Flip();
}

void TGMP::SetBackColor(TColor Color)
{
    Background = Color;
    Paint();
}

void TGMP::SetLightSource(TVector Position, TVector Target)
{
    const TVector d = Position - Target;
    float length = Length(d);
    if (length == 0) length = 1e-7f;
    LightDir = {d.X / length, d.Y / length, d.Z / length};
}

void TGMP::SetLayerTexture(int Layer, const TRgbImage& Image)
{
    if (Layer < 1 || Layer > LayerCount)
        throw std::out_of_range("texture layer " + std::to_string(Layer) + " is not 1 to 12");
    TTexture& texture = LayerTextures[Layer - 1];
    for (int x = 0; x < TextureSize; ++x)
        for (int y = 0; y < TextureSize; ++y) texture[x * TextureSize + y] = ColorTo16(Image.Pixel(x, y));
}

void TGMP::FreeScene(TFaceStore& Store) { verdel::FreeScene(Store); }

void TGMP::RotateScene(TFaceStore& Store, bool AboutX, bool AboutY, bool AboutZ, float AngleX, float AngleY,
                       float AngleZ)
{
    const float cx = std::cos(AngleX), sx = std::sin(AngleX);
    const float cy = std::cos(AngleY), sy = std::sin(AngleY);
    const float cz = std::cos(AngleZ), sz = std::sin(AngleZ);
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    for (int k = 1; k <= count; ++k) {
        for (TFaceNode* face = Store.Object(k).ModelFaces; face; face = face->Next) {
            const int corners = face->CornerCount == 3 ? 3 : 4;
            for (int c = 0; c < corners; ++c) {
                TVector& p = face->Corners[c];
                if (AboutZ) p = {p.X * cz - p.Y * sz, p.X * sz + p.Y * cz, p.Z};
                if (AboutX) p = {p.X, p.Y * cx - p.Z * sx, p.Y * sx + p.Z * cx};
                if (AboutY) p = {p.X * cy + p.Z * sy, p.Y, p.Z * cy - p.X * sy};
            }
        }
    }
}

int TGMP::ShareObjects(const TFaceStore& Store)
{
    // Objects are cut into runs of about equal numbers of faces (as the
    // objects count them), several per thread, and so are the cache's
    // records when they all fit. The threads take the runs in turn as they
    // finish the one before, so one that is slowed down takes fewer.
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    const int wanted = ThreadCount() == 1 ? 1 : ThreadCount() * SharesPerThread;
    const int shares = std::clamp(count, 1, wanted);
    int64_t total = 0;
    for (int k = 1; k <= count; ++k) total += 1 + std::max(Store.Object(k).FaceCount, 0);
    const bool allFit = total - count <= TFaceCache::Capacity;
    int64_t before = 0, facesBefore = 0;
    int k = 1;
    for (int s = 0; s < shares; ++s) {
        Shares[s].FirstObject = k;
        Shares[s].FirstRecord =
            static_cast<int32_t>(allFit ? facesBefore : TFaceCache::Capacity * before / std::max<int64_t>(total, 1));
        for (; k <= count && before * shares < total * (s + 1); ++k) {
            before += 1 + std::max(Store.Object(k).FaceCount, 0);
            facesBefore += std::max(Store.Object(k).FaceCount, 0);
        }
        if (s + 1 == shares) k = count + 1;
        Shares[s].EndObject = k;
    }
    for (int s = 0; s < shares; ++s)
        Shares[s].EndRecord = s + 1 < shares ? Shares[s + 1].FirstRecord : TFaceCache::Capacity;
    return shares;
}

int TGMP::CutBands(int Counters)
{
    const int bands = std::clamp(Frame.Height(), 1, ThreadCount());
    Load.Split(Counters, bands, BandRows.data());
    return bands;
}

bool TGMP::Draw(TFaceStore& Store, const TCancelToken* Cancel)
{
    // Projection by objects, then (for fills) the painter's order, then the
    // drawing by bands of rows: a pixel sees the same draws in the same order
    // as when one thread draws everything.
    const int shares = ShareObjects(Store);
    const int counters = std::min(shares, ThreadCount());
    const TRenderMode mode = RenderMode;
    NextShare.store(0, std::memory_order_relaxed);
    auto project = [&](int t) {
        Load.Clear(t);
        for (int s = NextShare.fetch_add(1, std::memory_order_relaxed); s < shares;
             s = NextShare.fetch_add(1, std::memory_order_relaxed)) {
            if (Cancelled(Cancel)) return;
            if (mode == rmWireframe) ProjectOutlines(Store, Shares[s], t, Cancel);
            else PrepareFaces(Store, Shares[s], t, mode == rmSolidShade, Cancel);
        }
    };
    Pool->Run(counters, project);
    if (Cancelled(Cancel)) return false;
    const TTexture* lastTexture = nullptr;
    if (mode != rmWireframe) Order.Sort(Store);
    if (mode == rmShadedTexture) lastTexture = ChooseTextures(Store);
    auto draw = [&](int b) {
        if (mode == rmWireframe) DrawWireframe(Store, b, Cancel);
        else if (mode == rmSolidShade) DrawSolid(Store, b, Cancel);
        else DrawTextured(Store, b, Cancel);
    };
    Pool->Run(CutBands(counters), draw);
    if (Cancelled(Cancel)) return false;
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    if (mode == rmWireframe && count > 0) FrameCanvas.PenColor = Store.Object(count).Color;
    if (lastTexture && lastTexture != &Work) Work = *lastTexture;
    return true;
}

void TGMP::RenderScene(TFaceStore& Store) { Draw(Store, nullptr); }

bool TGMP::RenderScene(TFaceStore& Store, const TCancelToken& Cancel) { return Draw(Store, &Cancel); }

} // namespace verdel
