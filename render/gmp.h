// TGMP: the software renderer of the viewer, without its window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "engine/face_store.h"
#include "render/canvas.h"
#include "render/depth_order.h"
#include "render/dib16.h"
#include "render/edge_table.h"
#include "render/face_cache.h"
#include "render/render_math.h"
#include "render/rgb_image.h"
#include "render/shading.h"

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

    // Gives the buffer a new size (height at most 768); the picture is lost.
    void Resize(int Width, int Height);
    int Width() const { return Frame.Width(); }
    int Height() const { return Frame.Height(); }

    // Draws Store into the frame buffer in RenderMode (does not present it):
    // translates every ViewFaces corner, then outlines the faces in table
    // order, or shades, measures and sorts them and fills them back to front.
    void RenderScene(TFaceStore& Store);

    // Fills the whole buffer with BackColor.
    void ClearToBackColor();

    // Fires BeforeFlip with the canvas of the buffer, then the presenter.
    void Flip();

    // The repaint of the control: the buffer is filled with BackColor and flipped.
    void Paint();

    // Turns every ModelFaces corner about z, then x, then y (each only when
    // its flag is not 0); angles in radians, results stored as Singles.
    void RotateScene(TFaceStore& Store, bool AboutX, bool AboutY, bool AboutZ, float AngleX, float AngleY,
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
    // The edge table of the last face filled (EdgeTable and TexEdgeTable).
    const TEdgeTable& EdgeTable() const { return Edges; }
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
    void TranslateScene(TFaceStore& Store);
    void PrepareFaces(TFaceStore& Store, bool SetColors);
    static void ShadeFace(TFaceNode& Face, TColor ObjectColor, float Intensity, bool SetColors);
    void DrawWireframe(const TFaceStore& Store);
    void ScanFace(const TProjectedFace& Face);
    void ScanTexturedFace(const TProjectedFace& Face);
    void DrawSolid(const TFaceStore& Store);
    void DrawTextured(const TFaceStore& Store);

    TDIB16bit Frame;
    TCanvas FrameCanvas{Frame};
    TEdgeTable Edges;
    TDepthOrder Order;
    TFaceCache Cache;
    TProjection Projection;
    TShadeTable Shades;
    std::array<TShadeRamp, 32> Ramps;
    std::array<TTexture, LayerCount> LayerTextures{};
    TTexture Work{};
    TColor Background = 0;
    TVector LightDir;
};

} // namespace verdel
