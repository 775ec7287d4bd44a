// Reading back how far the viewer has turned a model, so that another model
// (the same plant grown further) can be shown turned the same way.
#pragma once

#include <array>
#include <vector>

#include "engine/face_store.h"

namespace verdel {

// A rotation about the origin as a 3 x 3 matrix of rows, in double precision.
struct TRotation {
    std::array<std::array<double, 3>, 3> M{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

    TVector Apply(const TVector& P) const;
};

// Remembers two corners of a model as it was generated, before any turn: the
// one farthest from the origin and the one that with it spans the widest
// angle. The navigation turns models about the origin in place, so where those
// corners lie later tells the rotation applied since.
class TOrientationProbe {
public:
    // Picks the two corners among every corner of the first face of every object of Store.
    void Sample(const TFaceStore& Store);

    // The rotation that takes the sampled corners to where Store holds them
    // now. The identity when nothing was sampled or Store no longer has those
    // corners; when every corner lay on one line through the origin, the
    // smallest rotation that turns that line (a turn about it shows nothing).
    TRotation Recover(const TFaceStore& Store) const;

    bool Empty() const { return Corners.empty(); }

private:
    struct TCorner {
        int Object = 0; // 1-based
        int Corner = 0; // of the object's first ModelFaces node
        TVector Position;
    };
    std::vector<TCorner> Corners; // none, one, or two
};

// The rotation First followed by Then.
TRotation Compose(const TRotation& Then, const TRotation& First);

// How a viewer showed a model: the turn applied since it was generated and
// where it stood (the store's translation). A model regenerated from an
// edited text takes it on, so the picture does not jump.
struct TModelPose {
    bool Kept = false; // false: the model is placed afresh
    TRotation Turn;
    float X = 0, Y = 0, Z = 0;
};

// Turns every ModelFaces corner of Store by Rotation, each stored once as Singles.
void ApplyRotation(TFaceStore& Store, const TRotation& Rotation);

} // namespace verdel
