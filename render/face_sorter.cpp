#include "render/face_sorter.h"

#include <algorithm>

#include "render/depth_order.h"

namespace verdel {

void TFaceSorter::Sort(const TFaceObject& Object)
{
    Keys.clear();
    Nodes.clear();
    for (const TFaceNode* face = Object.ViewFaces; face; face = face->Next) {
        const int corners = face->CornerCount == 3 ? 3 : 4;
        float sum = 0;
        for (int c = 0; c < corners; ++c) sum += face->Corners[c].Z;
        // The monotonic bits order every value, NaN included, so the sort always has a strict order.
        const uint64_t depth = TDepthOrder::DepthBits(sum / static_cast<float>(corners));
        Keys.push_back(depth << 32 | static_cast<uint32_t>(Nodes.size()));
        Nodes.push_back(face);
    }
    std::sort(Keys.begin(), Keys.end());
    Ordered.resize(Nodes.size());
    for (size_t i = 0; i < Keys.size(); ++i) Ordered[i] = Nodes[Keys[i] & 0xFFFFFFFFu];
}

void TFaceSorter::Reorder(TCachedFace* First)
{
    Records.assign(First, First + Keys.size());
    for (size_t i = 0; i < Keys.size(); ++i) First[i] = Records[Keys[i] & 0xFFFFFFFFu];
}

} // namespace verdel
