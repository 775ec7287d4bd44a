#include "viewer/store_copy.h"

#include <algorithm>
#include <utility>

namespace verdel {

namespace {

void CopyHeaderFields(const TFaceStore& from, TFaceStore& to)
{
    to.ObjectCount = from.ObjectCount;
    to.LayerUsed = from.LayerUsed;
    to.MaxX = from.MaxX, to.MaxY = from.MaxY, to.MaxZ = from.MaxZ;
    to.MinX = from.MinX, to.MinY = from.MinY, to.MinZ = from.MinZ;
    to.TranslateX = from.TranslateX, to.TranslateY = from.TranslateY, to.TranslateZ = from.TranslateZ;
}

int CountOf(const TFaceNode* list)
{
    int n = 0;
    for (; list; list = list->Next) ++n;
    return n;
}

// Whether To's objects have as many faces in each list as From's.
bool SameShape(const TFaceStore& from, const TFaceStore& to)
{
    if (from.ObjectCount != to.ObjectCount) return false;
    for (int k = 1; k <= from.ObjectCount; ++k) {
        const TFaceObject& a = from.Object(k);
        const TFaceObject& b = to.Object(k);
        if (CountOf(a.ModelFaces) != CountOf(b.ModelFaces) || CountOf(a.ViewFaces) != CountOf(b.ViewFaces))
            return false;
    }
    return true;
}

// Copies the contents of every node of From into the node at the same place of To.
void CopyContents(const TFaceNode* from, TFaceNode* to)
{
    for (; from && to; from = from->Next, to = to->Next) {
        TFaceNode* next = to->Next;
        *to = *from;
        to->Next = next;
    }
}

TFaceNode* CopyList(const TFaceNode* from, TFaceNodePool& pool)
{
    TFaceNode* head = nullptr;
    TFaceNode** tail = &head;
    for (; from; from = from->Next) {
        TFaceNode* node = pool.Allocate();
        *node = *from;
        node->Next = nullptr;
        *tail = node;
        tail = &node->Next;
    }
    return head;
}

// Replaces To's objects by copies of From's with nodes of their own; each
// ViewFaces list copies From's ViewFaces, or with ViewFromModel its ModelFaces.
void CopyObjects(const TFaceStore& from, TFaceStore& to, bool viewFromModel)
{
    FreeScene(to);
    const int count = std::clamp(from.ObjectCount, 0, MaxObjects);
    for (int k = 1; k <= count; ++k) {
        const TFaceObject& object = from.Object(k);
        TFaceObject& copy = to.Object(k);
        copy = object;
        copy.ModelFaces = CopyList(object.ModelFaces, to.Nodes);
        copy.ViewFaces = CopyList(viewFromModel ? object.ModelFaces : object.ViewFaces, to.Nodes);
    }
}

} // namespace

void CopyStoreHeader(const TFaceStore& From, TFaceStore& To)
{
    CopyHeaderFields(From, To);
    const int count = std::clamp(From.ObjectCount, 0, MaxObjects);
    std::copy_n(From.Objects.begin(), count, To.Objects.begin());
}

void CopyStoreFaces(const TFaceStore& From, TFaceStore& To)
{
    const int count = std::clamp(From.ObjectCount, 0, MaxObjects);
    if (!SameShape(From, To)) CopyObjects(From, To, false);
    for (int k = 1; k <= count; ++k) {
        const TFaceObject& object = From.Object(k);
        TFaceObject& copy = To.Object(k);
        CopyContents(object.ModelFaces, copy.ModelFaces);
        CopyContents(object.ViewFaces, copy.ViewFaces);
        TFaceNode* model = copy.ModelFaces;
        TFaceNode* view = copy.ViewFaces;
        copy = object;
        copy.ModelFaces = model;
        copy.ViewFaces = view;
    }
    CopyHeaderFields(From, To);
}

void CopyStoreModel(const TFaceStore& From, TFaceStore& To)
{
    CopyObjects(From, To, true);
    CopyHeaderFields(From, To);
}

void SwapStores(TFaceStore& A, TFaceStore& B)
{
    std::swap(A.ObjectCount, B.ObjectCount);
    std::swap(A.LayerUsed, B.LayerUsed);
    std::swap(A.MaxX, B.MaxX), std::swap(A.MaxY, B.MaxY), std::swap(A.MaxZ, B.MaxZ);
    std::swap(A.MinX, B.MinX), std::swap(A.MinY, B.MinY), std::swap(A.MinZ, B.MinZ);
    std::swap(A.TranslateX, B.TranslateX), std::swap(A.TranslateY, B.TranslateY);
    std::swap(A.TranslateZ, B.TranslateZ);
    std::swap(A.Objects, B.Objects);
    std::swap(A.Nodes, B.Nodes);
}

} // namespace verdel
