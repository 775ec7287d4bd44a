// The navigator's host and a small model, shared by the navigation tests.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "engine/mesh_builder.h"
#include "render/gmp.h"
#include "viewer/navigation.h"
#include "viewer/view_preparation.h"

namespace verdel::test {

// Records what the navigator asks of the window; timers are flags the test
// fires by hand. With Rotate the rotations really turn the store's vertices.
class TFakeHost : public TNavigationHost {
public:
    struct TRotation {
        const TFaceStore* Store;
        bool AboutX, AboutY, AboutZ;
        float AngleX, AngleY, AngleZ;
    };
    void DrawStore(TFaceStore& Store, bool ShowWait) override { Draws.push_back({&Store, ShowWait}); }
    void SetWireframe(bool On) override { Wireframe = On; }
    void RotateScene(TFaceStore& Store, bool FX, bool FY, bool FZ, float AX, float AY, float AZ) override
    {
        Rotations.push_back({&Store, FX, FY, FZ, AX, AY, AZ});
        if (Rotate) Turner.RotateScene(Store, FX, FY, FZ, AX, AY, AZ);
    }
    void SetRepeatTimer(bool Enabled) override { Spin = Enabled; }
    void SetSettleTimer(bool Enabled, int IntervalMs) override
    {
        Timer1 = Enabled;
        Interval = IntervalMs;
        if (Enabled) ++Timer1Starts;
    }
    bool ModelInUse() override { return InUse; }

    std::vector<std::pair<const TFaceStore*, bool>> Draws;
    std::vector<TRotation> Rotations;
    bool Wireframe = false, Spin = false, Timer1 = false;
    int Interval = 0, Timer1Starts = 0;
    bool Rotate = false; // turn the vertices, not only record the turns
    bool InUse = false;  // a frame of the model is being drawn

private:
    TGMP Turner;
};

// A model whose bounds are max (4, 2, 1), min (0, 0, 0), viewed as the viewer
// prepares it; Scale enlarges it (from 12.5 on it starts beyond the near limit).
struct TScene {
    std::unique_ptr<TFaceStore> Model = std::make_unique<TFaceStore>();
    std::unique_ptr<TFaceStore> Outline = std::make_unique<TFaceStore>();
    std::unique_ptr<TFakeHost> Host = std::make_unique<TFakeHost>();
    TNavigator Navigator{*Model, *Outline, *Host};

    explicit TScene(bool live = false, bool rotate = false, float scale = 1)
    {
        TMeshBuilder builder(*Model);
        builder.MeshVertex(1) = {0, 0, 0};
        builder.MeshVertex(2) = {4 * scale, 2 * scale, 1 * scale};
        builder.MeshVertex(3) = {4 * scale, 0, 0};
        builder.MeshFace(1) = {1, 2, 3, 3};
        builder.AddMesh(3, 1, 1);
        ComputeBounds(*Model);
        Navigator.Setup(PrepareView(*Model).ModelSize);
        Navigator.LiveNavigation = live;
        Host->Rotate = rotate;
    }

    // Every ModelFaces corner of the model, in list order.
    std::vector<TVector> Corners() const
    {
        std::vector<TVector> corners;
        for (int k = 1; k <= Model->ObjectCount; ++k)
            for (const TFaceNode* face = Model->Object(k).ModelFaces; face; face = face->Next)
                corners.insert(corners.end(), std::begin(face->Corners), std::end(face->Corners));
        return corners;
    }
};

} // namespace verdel::test
