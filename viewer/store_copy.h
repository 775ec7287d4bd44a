// Copies and exchanges of face stores, for drawing a store on another thread.
#pragma once

#include "engine/face_store.h"

namespace verdel {

// Copies the header and objects 1..ObjectCount of From into To: counts,
// layers, bounds, translation and the object entries. The face lists stay
// those of From (To points into From's nodes), so From's vertices must not
// change while To is drawn, and To must never be freed with FreeScene.
void CopyStoreHeader(const TFaceStore& From, TFaceStore& To);

// Makes To a copy of From with faces of its own: the header as above and
// every face of both lists. When To already has the same objects with the
// same numbers of faces (the same proxy drawn again) only the header and the
// faces' contents are copied and nothing is allocated.
void CopyStoreFaces(const TFaceStore& From, TFaceStore& To);

// Makes To a copy of From with faces of its own read from From's ModelFaces
// alone (both of To's lists start as copies of them), so it may be made
// while a frame of From is drawn, which writes From's ViewFaces.
void CopyStoreModel(const TFaceStore& From, TFaceStore& To);

// Exchanges every field of A and B, face nodes included: a store read into a
// fresh record takes the place of the one on view, whose nodes live on in
// the other record until it is freed.
void SwapStores(TFaceStore& A, TFaceStore& B);

} // namespace verdel
