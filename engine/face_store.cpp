#include "engine/face_store.h"

namespace verdel {

const std::array<TColor, LayerCount + 1> LayerColors = {0x000000, 0x008000, 0x808000, 0x00FF00, 0xFFFF00,
                                                        0xFF0000, 0x800080, 0x0000FF, 0x008080, 0xFF00FF,
                                                        0x00FFFF, 0x808080, 0xC0C0C0};

const char* LayerColorName(int Layer)
{
    static const char* const names[LayerCount + 1] = {"black", "green", "teal",    "lime",   "aqua", "blue",  "purple",
                                                      "red",   "olive", "fuchsia", "yellow", "gray", "silver"};
    return Layer >= 0 && Layer <= LayerCount ? names[Layer] : "";
}

void ComputeBounds(TFaceStore& Store)
{
    Store.MaxX = Store.MaxY = Store.MaxZ = 0;
    Store.MinX = Store.MinY = Store.MinZ = 0;
    for (int k = 1; k <= Store.ObjectCount; ++k) {
        for (const TFaceNode* face = Store.Object(k).ModelFaces; face; face = face->Next) {
            for (const TVector& c : face->Corners) {
                if (c.X > Store.MaxX) Store.MaxX = c.X;
                if (c.X < Store.MinX) Store.MinX = c.X;
                if (c.Y > Store.MaxY) Store.MaxY = c.Y;
                if (c.Y < Store.MinY) Store.MinY = c.Y;
                if (c.Z > Store.MaxZ) Store.MaxZ = c.Z;
                if (c.Z < Store.MinZ) Store.MinZ = c.Z;
            }
        }
    }
}

void FreeScene(TFaceStore& Store)
{
    // Every head is cleared, also beyond ObjectCount, so no list can point into released blocks.
    for (TFaceObject& object : Store.Objects) {
        object.ModelFaces = nullptr;
        object.ViewFaces = nullptr;
    }
    Store.Nodes.Clear();
    Store.ObjectCount = 0;
}

int64_t CountFaces(const TFaceStore& Store)
{
    int64_t faces = 0;
    for (int k = 1; k <= Store.ObjectCount; ++k)
        for (const TFaceNode* face = Store.Object(k).ModelFaces; face; face = face->Next) ++faces;
    return faces;
}

} // namespace verdel
