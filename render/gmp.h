// TGMP: the software renderer of the viewer, without its window.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/cancel.h"
#include "engine/face_store.h"
#include "render/canvas.h"
#include "render/depth_order.h"
#include "render/dib16.h"
#include "render/edge_table.h"
#include "render/face_cache.h"
#include "render/face_sorter.h"
#include "render/render_math.h"
#include "render/rgb_image.h"
#include "render/row_load.h"
#include "render/shading.h"
#include "render/worker_pool.h"

namespace verdel {

// How RenderScene draws the store.
enum TRenderMode : uint8_t { rmWireframe = 0, rmSolidShade = 1, rmShadedTexture = 2 };

// Called by Flip with the canvas of the finished frame, to draw over it.
using TBeforeFlip = std::function<void(TCanvas& Canvas)>;
// Called by Flip to show the frame (the widget copies it to its window).
using TPresenter = std::function<void(const TDIB16bit& Frame)>;

// The renderer. The eye sits at the origin looking along -z; the store's
// translation places the model and RotateScene turns the model's own
// vertices. Frames go into a 16-bit frame buffer; Flip presents them.
// Everything it works with is allocated up front: rendering allocates nothing.
// A frame is shared out between a few threads the renderer keeps (projecting
// by objects, filling by bands of rows, each band drawing every object in
// the same order); the pixels are the same for any number of threads.
// Renderers are independent of each other: several may draw at once on
// different threads, each into its own buffer from its own store.
class TGMP {
public:
    // The buffer never has more rows than this.
    static constexpr int MaxHeight = TEdgeTable::Rows;
    // The projection's focal length.
    static constexpr int32_t FocalLength = 500;
    // The intensity a face gets without light.
    static constexpr int32_t AmbientLevel = 10;

    // A 200 x 200 buffer, black background, wireframe, light strength 0.75,
    // light from (100, 0, -100) towards the origin, all textures black.
    TGMP();
    TGMP(const TGMP&) = delete;
    TGMP& operator=(const TGMP&) = delete;

    // Gives the buffer a new size (height at most 4096); the picture is lost.
    void Resize(int Width, int Height);
    // Sets the projection's focal length and centre, which Resize sets to
    // FocalLength and the buffer's centre: with a larger focal length and
    // the centre moved, the buffer shows part of a larger picture.
    void SetProjection(int32_t Focal, int32_t CentreX, int32_t CentreY);
    int Width() const { return Frame.Width(); }
    int Height() const { return Frame.Height(); }

    // The threads RenderScene shares a frame between, the calling one
    // included (1: all on the caller); a new renderer takes the machine's
    // hardware threads. Not while a frame is drawn.
    void SetThreadCount(int Count);
    int ThreadCount() const { return Pool->Size(); }

    // Draws Store into the frame buffer in RenderMode (does not present it):
    // translates every ViewFaces corner, then outlines the faces in table
    // order, or shades, measures and sorts them and fills them back to front
    // (an object's faces in list order, or by depth when its SortFaces is set).
    void RenderScene(TFaceStore& Store);

    // The same, given up soon after Cancel is cancelled (from any thread):
    // false then, and the buffer holds part of the frame and the store's
    // faces part of their renderer fields; the renderer's own state (the
    // work texture, the pen) stays as it was, so the next frame is drawn as
    // though this one had never been asked for.
    bool RenderScene(TFaceStore& Store, const TCancelToken& Cancel);

    // Fills the whole buffer with BackColor.
    void ClearToBackColor();

    // Fires BeforeFlip with the canvas of the buffer, then the presenter.
    void Flip();

    // The repaint of the control: the buffer is filled with BackColor and flipped.
    void Paint();

    // Turns every ModelFaces corner about z, then x, then y (each only when
    // its flag is not 0); angles in radians, results stored as Singles.
    static void RotateScene(TFaceStore& Store, bool AboutX, bool AboutY, bool AboutZ, float AngleX, float AngleY,
                            float AngleZ);

    // LightDirection := the unit vector from Target towards Position.
    void SetLightSource(TVector Position, TVector Target);

    // Loads layer 1..12's texture from the top-left 128 x 128 pixels of
    // Image (white where it has none). Throws std::out_of_range for another layer.
    void SetLayerTexture(int Layer, const TRgbImage& Image);

    // Releases every face node of the store; ObjectCount becomes 0.
    void FreeScene(TFaceStore& Store);

    // The background colour (0x00BBGGRR); setting it repaints at once.
    TColor BackColor() const { return Background; }
    void SetBackColor(TColor Color);

    // The unit vector towards the light.
    TVector LightDirection() const { return LightDir; }

    // The frame buffer (the last frame drawn) and the canvas drawing into it.
    const TDIB16bit& Bitmap() const { return Frame; }
    TCanvas& Canvas() { return FrameCanvas; }

    const TShadeTable& ShadeTable() const { return Shades; }
    // The edge table of the last face filled in the lowest band of rows
    // (EdgeTable and TexEdgeTable); with one thread, of the last face filled.
    const TEdgeTable& EdgeTable() const { return BandEdges.front(); }
    const TTexture& LayerTexture(int Layer) const { return LayerTextures.at(Layer - 1); }
    // The texture of the last textured face (kept between frames).
    const TTexture& WorkTexture() const { return Work; }
    // The painter's order of the last solid or textured frame.
    const TDepthOrder& DrawOrder() const { return Order; }

    TRenderMode RenderMode = rmWireframe;
    float LightStrength = 0.75f;
    TBeforeFlip BeforeFlip;
    TPresenter Presenter;

private:
    // A run of objects a thread projects: objects FirstObject..EndObject-1
    // and records FirstRecord..EndRecord-1 of the face cache.
    struct TShare {
        int FirstObject = 1, EndObject = 1;
        int32_t FirstRecord = 0, EndRecord = 0;
    };

    bool Draw(TFaceStore& Store, const TCancelToken* Cancel);
    static bool Cancelled(const TCancelToken* Cancel) { return Cancel && Cancel->Cancelled(); }
    int ShareObjects(const TFaceStore& Store);
    int CutBands(int Counters);
    void ProjectOutlines(TFaceStore& Store, const TShare& Share, int Thread, const TCancelToken* Cancel);
    void PrepareFaces(TFaceStore& Store, const TShare& Share, int Thread, bool SetColors, const TCancelToken* Cancel);
    void NoteFace(TFaceCache::TWriter& Writer, TRowSpan& Rows, const TProjectedFace& Face, uint16_t Paint);
    void EndObject(int Thread, TFaceCache::TWriter& Writer, int k, int Faces);
    // The shaded colour of the last face of an object that was given one.
    struct TShadeMemo {
        bool Valid = false;
        uint32_t IntensityBits = 0;
        TColor Color = 0;
        uint16_t Color16 = 0;
    };
    static void ShadeFace(TFaceNode& Face, TColor ObjectColor, float Intensity, bool SetColors, TShadeMemo& Memo);
    const TTexture* ChooseTextures(const TFaceStore& Store);
    void DrawWireframe(const TFaceStore& Store, int Band, const TCancelToken* Cancel);
    template <class TFiller>
    void DrawInOrder(const TFaceStore& Store, int Band, const TCancelToken* Cancel, TFiller& Filler);
    void DrawSolid(const TFaceStore& Store, int Band, const TCancelToken* Cancel);
    void DrawTextured(const TFaceStore& Store, int Band, const TCancelToken* Cancel);

    TDIB16bit Frame;
    TCanvas FrameCanvas{Frame};
    std::unique_ptr<TWorkerPool> Pool;
    std::vector<TEdgeTable> BandEdges; // one per thread
    TRowLoad Load;
    // Runs of objects per thread when several threads project.
    static constexpr int SharesPerThread = 16;
    std::array<TShare, TWorkerPool::MaxThreads * SharesPerThread> Shares{};
    std::atomic<int> NextShare{0};                           // the next run a projecting thread takes
    std::array<int, TWorkerPool::MaxThreads + 1> BandRows{}; // band b: rows BandRows[b]..BandRows[b + 1] - 1
    TDepthOrder Order;
    TFaceCache Cache;
    std::array<const TTexture*, MaxObjects> OrderTextures{}; // the texture of each place of the order
    TProjection Projection;
    TShadeTable Shades;
    std::array<TShadeRamp, 32> Ramps;
    std::array<TTexture, LayerCount> LayerTextures{};
    TTexture Work{};
    TColor Background = 0;
    TVector LightDir;
    std::vector<TFaceSorter> Sorters; // one per thread, for objects whose faces are drawn back to front
};

} // namespace verdel
