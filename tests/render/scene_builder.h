// Small hand-made scenes for the renderer's tests.
#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "engine/face_store.h"

namespace verdel::test {

// A face given by its corners; three corners make a CornerCount 3 face.
using TCorners = std::vector<TVector>;

// Appends an object of the given colour whose faces have these corners
// (ModelFaces and ViewFaces alike); returns its number.
inline int AddObject(TFaceStore& store, TColor color, const std::vector<TCorners>& faces)
{
    TFaceObject& object = store.Objects[store.ObjectCount++];
    object = TFaceObject{};
    object.Color = color;
    TFaceNode** ends[2] = {&object.ModelFaces, &object.ViewFaces}; // where each list's next node goes
    for (const TCorners& corners : faces) {
        for (int list = 0; list < 2; ++list) {
            TFaceNode* node = store.Nodes.Allocate();
            *node = TFaceNode{};
            for (size_t c = 0; c < 4; ++c) node->Corners[c] = corners[c < corners.size() ? c : corners.size() - 1];
            node->CornerCount = static_cast<int32_t>(corners.size());
            node->Visible = 1;
            node->FaceColor = color;
            *ends[list] = node;
            ends[list] = &node->Next;
        }
        ++object.FaceCount;
    }
    return store.ObjectCount;
}

// Scenes are drawn at z = -500, where the projection is column = CX - x and
// frame row = CY + y (canvas row = CY - y), so pixel positions read off directly.
constexpr float Plane = -500;

// An axis-aligned rectangle at z = Plane seen as columns CX - x and rows CY + y;
// corners in the order top right, bottom right, bottom left, top left on screen.
inline TCorners ScreenRect(float left, float right, float bottom, float top, float z = Plane)
{
    // Screen column c = CX - x, so x = CX - c: with CX folded into the caller's values.
    return {{-right, top, z}, {-right, bottom, z}, {-left, bottom, z}, {-left, top, z}};
}

} // namespace verdel::test
