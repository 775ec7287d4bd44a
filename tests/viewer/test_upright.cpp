// Standing models upright: the render's quarter turn, and every bundled model ends growing up the screen.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>

#include "render/gmp.h"
#include "support/models.h"
#include "viewer/store_copy.h"
#include "viewer/upright.h"

using namespace verdel;
namespace fs = std::filesystem;

namespace {

// Store's corners in order, as the renderer reads them.
std::vector<TVector> Corners(const TFaceStore& Store)
{
    std::vector<TVector> corners;
    for (int k = 1; k <= Store.ObjectCount; ++k)
        for (const TFaceNode* face = Store.Object(k).ModelFaces; face; face = face->Next)
            corners.insert(corners.end(), face->Corners, face->Corners + (face->CornerCount == 3 ? 3 : 4));
    return corners;
}

// The middle of the corners' box on y, and the box's size.
std::pair<double, double> MiddleY(const TFaceStore& Store)
{
    double low = INFINITY, high = -INFINITY, size = 0;
    for (const TVector& c : Corners(Store)) {
        low = std::min<double>(low, c.Y);
        high = std::max<double>(high, c.Y);
        size = std::max({size, std::fabs(double{c.X}), std::fabs(double{c.Y}), std::fabs(double{c.Z})});
    }
    return {(low + high) / 2, size};
}

} // namespace

TEST(Upright, EveryBundledModelEndsGrowingUpTheScreenAndStaysThere)
{
    for (const auto& entry : fs::recursive_directory_iterator(std::string(VERDEL_DATA) + "/vdfiles")) {
        if (entry.path().extension() != ".vd" || entry.path().stem() == "forest") continue; // forest: tree.vd's rules
        SCOPED_TRACE(entry.path().string());
        TGenerationResult result;
        auto store = test::GenerateStore(ReadLinesFromFile(entry.path().string()), {}, &result);
        ASSERT_EQ(result.Status, TGenerationStatus::Done);
        const std::vector<TVector> before = Corners(*store);
        if (before.empty()) continue; // nothing drawn (Q, W and R are off)
        const int turn = StandUpright(*store);
        const auto [middle, size] = MiddleY(*store);
        EXPECT_GE(middle, -size / 100) << "the model hangs below its start";
        EXPECT_EQ(UprightTurn(*store), 0) << "a second Upright turns again";
        if (turn != -90) continue;
        // The render's turn about x by -90 degrees, in single precision, lands on the same corners.
        auto rendered = std::make_unique<TFaceStore>();
        CopyStoreModel(*store, *rendered);
        TurnQuarters(*rendered, 90); // back to the model as generated
        ASSERT_EQ(Corners(*rendered), before);
        TGMP::RotateScene(*rendered, true, false, false, static_cast<float>(-std::numbers::pi / 2), 0, 0);
        const std::vector<TVector> turned = Corners(*rendered), exact = Corners(*store);
        for (size_t i = 0; i < exact.size(); ++i)
            ASSERT_NEAR(turned[i].Y, exact[i].Y, 1e-5 * size + 1e-6) << i;
    }
}
