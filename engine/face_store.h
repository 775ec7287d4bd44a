// The scene model shared by the whole program: objects of quadrilateral faces.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/vector_math.h"

namespace verdel {

constexpr int MaxObjects = 30000;
constexpr int LayerCount = 12;

// A colour value laid out as 0x00BBGGRR (red in the low byte).
using TColor = uint32_t;

// One face. Triangles repeat their third corner as the fourth.
struct TFaceNode {
    TVector Corners[4];
    int32_t CornerIndex[4]; // each corner's 1-based index in the object's vertex list
    TFaceNode* Next;
    int32_t CornerCount;  // corners the renderer uses, 3 or 4
    float FaceDepth;      // the renderer's
    TColor FaceColor;     // the object's colour, then the renderer's shaded colour
    uint16_t FaceColor16; // the renderer's RGB555 colour
    uint8_t Visible;
    uint8_t ShadeLevel; // the renderer's, 0..31
};

// One drawable object: a turtle segment, a polygon or a DXF polyline.
struct TFaceObject {
    TFaceNode* ModelFaces = nullptr; // model coordinates; navigation rotates them in place
    TFaceNode* ViewFaces = nullptr;  // same number of nodes; the renderer's translated copy
    int32_t VertexCount = 0;
    float Depth = 0; // the renderer's sort key
    int32_t FaceCount = 0;
    TColor Color = 0;
    uint8_t ColorIndex = 0; // layer 1..12
    // Its faces are drawn back to front among themselves: set for objects
    // read from mesh files, whose faces come in no drawing order of their own.
    bool SortFaces = false;
};

// Hands out face nodes in large blocks; nodes live until Clear.
class TFaceNodePool {
public:
    TFaceNode* Allocate()
    {
        if (Used == BlockSize || Blocks.empty()) Grow();
        return &Blocks.back()[Used++];
    }
    void Clear()
    {
        Blocks.clear();
        Used = 0;
    }

private:
    static constexpr size_t BlockSize = 8192;
    void Grow()
    {
        Blocks.push_back(std::make_unique_for_overwrite<TFaceNode[]>(BlockSize));
        Used = 0;
    }
    std::vector<std::unique_ptr<TFaceNode[]>> Blocks;
    size_t Used = 0;
};

// The face store. Objects 1..ObjectCount are valid; face nodes belong to the
// store and are released only by FreeScene.
struct TFaceStore {
    int32_t ObjectCount = 0;
    std::array<bool, LayerCount + 1> LayerUsed{}; // flag k: some object has colour index k
    float MaxX = 0, MaxY = 0, MaxZ = 0, MinX = 0, MinY = 0, MinZ = 0;
    float TranslateX = 0, TranslateY = 0, TranslateZ = 0; // the view's translation
    std::array<TFaceObject, MaxObjects> Objects;
    TFaceNodePool Nodes;

    TFaceStore() = default;
    TFaceStore(const TFaceStore&) = delete;
    TFaceStore& operator=(const TFaceStore&) = delete;

    // Object k, counted from 1.
    TFaceObject& Object(int k) { return Objects[k - 1]; }
    const TFaceObject& Object(int k) const { return Objects[k - 1]; }
};

// The colour of layer 1..12: green, teal, lime, aqua, blue, purple, red, olive,
// fuchsia, yellow, gray, silver. Entry 0 is black.
extern const std::array<TColor, LayerCount + 1> LayerColors;

// The English name of layer 1..12's colour ("green" ... "silver").
const char* LayerColorName(int Layer);

// Sets the six bounds over every corner of every ModelFaces node; the box always holds the origin.
void ComputeBounds(TFaceStore& Store);

// Releases every face node of both lists of every object; ObjectCount becomes 0.
void FreeScene(TFaceStore& Store);

// Fills an object's two face lists: every face goes to the end of both, as
// two nodes of equal contents (four corners, visible, in the object's colour).
// The object starts with empty lists and its faces in drawing order (SortFaces false).
class TFaceAppender {
public:
    TFaceAppender(TFaceStore& store, TFaceObject& object) : Store(store), Object(object)
    {
        Object.ModelFaces = Object.ViewFaces = nullptr;
        Object.SortFaces = false;
    }

    // Appends a face; Index holds each corner's 1-based number in the object's vertex list.
    void Add(const TVector (&Corners)[4], const int32_t (&Index)[4])
    {
        TFaceNode* node = Store.Nodes.Allocate();
        for (int i = 0; i < 4; ++i) {
            node->Corners[i] = Corners[i];
            node->CornerIndex[i] = Index[i];
        }
        node->CornerCount = 4;
        node->Visible = 1;
        node->FaceColor = Object.Color;
        node->FaceDepth = 0;
        node->FaceColor16 = 0;
        node->ShadeLevel = 0;
        Append(Object.ModelFaces, ModelTail, node);
        TFaceNode* copy = Store.Nodes.Allocate();
        *copy = *node;
        Append(Object.ViewFaces, ViewTail, copy);
    }

private:
    static void Append(TFaceNode*& head, TFaceNode*& tail, TFaceNode* node)
    {
        node->Next = nullptr;
        if (tail) tail->Next = node;
        else head = node;
        tail = node;
    }

    TFaceStore& Store;
    TFaceObject& Object;
    TFaceNode* ModelTail = nullptr;
    TFaceNode* ViewTail = nullptr;
};

// Number of nodes of all ModelFaces lists.
int64_t CountFaces(const TFaceStore& Store);

} // namespace verdel
