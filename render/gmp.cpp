#include "render/gmp.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace verdel {

TGMP::TGMP() : Shades(BuildShadeTable()), Ramps(BuildShadeRamps(Shades))
{
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
    Edges.SetHeight(NewHeight);
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

void TGMP::TranslateScene(TFaceStore& Store)
{
    const TVector shift{Store.TranslateX, Store.TranslateY, Store.TranslateZ};
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    for (int k = 1; k <= count; ++k) {
        const TFaceObject& object = Store.Object(k);
        const TFaceNode* model = object.ModelFaces;
        for (TFaceNode* view = object.ViewFaces; view && model; view = view->Next, model = model->Next)
            for (int c = 0; c < 4; ++c) view->Corners[c] = model->Corners[c] + shift;
    }
}

void TGMP::PrepareFaces(TFaceStore& Store, bool SetColors)
{
    // TranslateScene, ShadeFaces and ComputeDepths in one walk, which also
    // projects each face for the fill pass: each face's results depend on
    // that face alone, so the order of the passes is free. The faces of an
    // object go through in batches so that the processor can overlap the
    // square roots and divisions of the lighting.
    const TVector shift{Store.TranslateX, Store.TranslateY, Store.TranslateZ};
    const TLighting light{LightDir, LightStrength, AmbientLevel};
    const int count = std::clamp(Store.ObjectCount, 0, MaxObjects);
    constexpr int Batch = 32;
    TFaceNode* batch[Batch];
    float intensity[Batch];
    TProjectedFace projected[2];
    Cache.Clear();
    for (int k = 1; k <= count; ++k) {
        TFaceObject& object = Store.Object(k);
        const TFaceNode* model = object.ModelFaces;
        float depthSum = 0;
        int faces = 0;
        const TFaceNode* previous = nullptr;
        Cache.BeginObject(k);
        for (TFaceNode* view = object.ViewFaces; view;) {
            int n = 0;
            for (; view && n < Batch; view = view->Next) {
                if (model) {
                    for (int c = 0; c < 4; ++c) view->Corners[c] = model->Corners[c] + shift;
                    model = model->Next;
                }
                batch[n++] = view;
            }
            for (int i = 0; i < n; ++i)
                intensity[i] = FaceIntensity(batch[i]->Corners[0], batch[i]->Corners[1], batch[i]->Corners[2], light);
            for (int i = 0; i < n; ++i) {
                TFaceNode& face = *batch[i];
                ShadeFace(face, object.Color, intensity[i], SetColors);
                // Summed in Single in list order: any other order changes the
                // depths of mirror-image branches and so the painter's order.
                depthSum += face.FaceDepth;
                ++faces;
                const TProjectedFace& before = projected[(faces + 1) % 2];
                TProjectedFace& now = projected[faces % 2];
                ProjectFaceAfter(face, previous, before, Projection, false, now);
                Cache.Add(now, SetColors ? face.FaceColor16 : face.ShadeLevel);
                previous = &face;
            }
        }
        Cache.EndObject(k);
        if (faces > 0) object.Depth = depthSum / static_cast<float>(faces);
    }
}

void TGMP::ShadeFace(TFaceNode& Face, TColor ObjectColor, float Intensity, bool SetColors)
{
    // Every face is drawn: there is no back-face test.
    Face.Visible = 1;
    if (SetColors) {
        Face.FaceColor = ShadeColor(ObjectColor, Intensity);
        Face.FaceColor16 = ColorTo16(Face.FaceColor);
    }
    Face.ShadeLevel = static_cast<uint8_t>(RoundToInt(Intensity));
    float depth = Face.Corners[0].Z;
    const int corners = Face.CornerCount == 3 ? 3 : 4;
    for (int c = 1; c < corners; ++c)
        if (Face.Corners[c].Z > depth) depth = Face.Corners[c].Z;
    Face.FaceDepth = depth;
}

void TGMP::RenderScene(TFaceStore& Store)
{
    switch (RenderMode) {
    case rmWireframe:
        TranslateScene(Store);
        DrawWireframe(Store);
        break;
    case rmSolidShade:
        PrepareFaces(Store, true);
        Order.Sort(Store);
        DrawSolid(Store);
        break;
    case rmShadedTexture:
        PrepareFaces(Store, false);
        Order.Sort(Store);
        DrawTextured(Store);
        break;
    }
}

} // namespace verdel
