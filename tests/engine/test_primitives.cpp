#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "engine/primitives.h"
#include "support/turtle_run.h"

using namespace verdel;
using namespace verdel::test;

TEST(BuildRing, StepsOfTwentyTwoAndAHalfDegrees)
{
    const TVector a{0, 1, 0}, b{1, 0, 0};
    const auto ring = BuildRing(a, b);
    for (int k = 0; k < 16; ++k) {
        SCOPED_TRACE(k);
        const double angle = k * M_PI / 8; // from A towards B
        ExpectNear(ring[k], {static_cast<float>(std::sin(angle)), static_cast<float>(std::cos(angle)), 0}, 1e-6f);
    }
}

TEST(AddBlock, SquareCrossSectionAlongTheSegment)
{
    auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    ASSERT_TRUE(AddBlock(builder, 0.1f, {0, 0, 0}, {0, 0, 100}, {1, 0, 0}, 1));
    ASSERT_EQ(store->ObjectCount, 1);
    EXPECT_EQ(store->Object(1).VertexCount, 8);
    EXPECT_EQ(store->Object(1).FaceCount, 6);
    // Vertices through the faces (1, 5, 6, 2), (2, 6, 7, 3), (3, 7, 8, 4).
    const TFaceNode* f1 = store->Object(1).ModelFaces;
    const TFaceNode* f3 = f1->Next->Next;
    const float d = 3.5355339f;
    ExpectNear(f1->Corners[0], {d, d, 0}, 1e-4f);
    ExpectNear(f1->Corners[3], {d, -d, 0});
    ExpectNear(f3->Corners[0], {-d, -d, 0});
    ExpectNear(f3->Corners[3], {-d, d, 0});
    ExpectNear(f1->Corners[1], {d, d, 100});
    EXPECT_EQ(f1->CornerIndex[1], 5);
}

TEST(Primitives, ZeroLengthAddsNothing)
{
    auto store = std::make_unique<TFaceStore>();
    TMeshBuilder builder(*store);
    const TVector p{1, 2, 3};
    const TLastTube before = builder.LastTube;
    EXPECT_TRUE(AddBlock(builder, 0.1f, p, p, {1, 0, 0}, 1));
    EXPECT_TRUE(AddCylinder(builder, 0.1f, p, p, 1, {1, 0, 0}, {0, 1, 0}));
    EXPECT_TRUE(AddCone(builder, 0.1f, p, p, 1, {1, 0, 0}, {0, 1, 0}));
    EXPECT_TRUE(AddPyramid(builder, 0.1f, p, p, 1, {1, 0, 0}, {0, 1, 0}));
    EXPECT_EQ(store->ObjectCount, 0);
    EXPECT_EQ(builder.LastTube.End, before.End);
}

// Face i of a tube is (i, i + 16, i + 17, i + 1): corner 0 is bottom vertex i, corner 1 top vertex i.
TEST(AddCylinder, TubesOfOneColourJoinIntoOneSurface)
{
    // A straight tube is a prism: each top vertex lies a segment above its
    // bottom one, and the next tube starts from it vertex for vertex.
    const TTurtleRun straight = RunTurtle("FF");
    for (int f = 1; f <= 16; ++f) {
        SCOPED_TRACE(f);
        ExpectNear(straight.Corner(1, f, 1) - straight.Corner(1, f, 0), {0, 0, 100});
        EXPECT_EQ(straight.Corner(2, f, 0), straight.Corner(1, f, 1));
    }
    // After a turn the next tube starts from the ring of the tube before (after
    // a branch too); of another colour it starts from its own, which meets the
    // last only on the turn's axis.
    auto sharedVertices = [](const TTurtleRun& run, int next) {
        std::set<std::tuple<float, float, float>> firstTop;
        for (int f = 1; f <= 16; ++f) {
            const TVector top = run.Corner(1, f, 1);
            firstTop.insert({top.X, top.Y, top.Z});
        }
        int shared = 0;
        for (int f = 1; f <= 16; ++f) {
            const TVector bottom = run.Corner(next, f, 0);
            shared += static_cast<int>(firstTop.count({bottom.X, bottom.Y, bottom.Z}));
        }
        return shared;
    };
    EXPECT_EQ(sharedVertices(RunTurtle("F+F"), 2), 16);
    EXPECT_EQ(sharedVertices(RunTurtle("F[&F]+F"), 3), 16);
    EXPECT_EQ(sharedVertices(RunTurtle("F+cF"), 2), 2);
    // No thickness: a line of degenerate faces.
    const TTurtleRun line = RunTurtle("F", "90", "0");
    ASSERT_EQ(line.Object(1).FaceCount, 16);
    for (int f = 1; f <= 16; ++f) EXPECT_EQ(line.Corner(1, f, 1), (TVector{0, 0, 100}));
}

TEST(AddCone, BaseDiscAndMantleMeetAtTheApex)
{
    TSolidSettings settings;
    settings.QCones = true;
    const TTurtleRun run = RunTurtle("Q", "90", "10", settings);
    ASSERT_EQ(run.Store->ObjectCount, 1);
    EXPECT_EQ(run.Object(1).VertexCount, 18);
    EXPECT_EQ(run.Object(1).FaceCount, 32);
    EXPECT_EQ(run.Corner(1, 1, 0), (TVector{0, 0, 0}));    // base faces start at the centre
    EXPECT_EQ(run.Corner(1, 17, 0), (TVector{0, 0, 100})); // mantle faces at the apex
    EXPECT_EQ(run.Corner(1, 32, 2), run.Corner(1, 1, 1));  // the last mantle face closes the ring
}

TEST(AddPyramid, FourTriangularSidesAndASquareBase)
{
    TSolidSettings settings;
    settings.RPyramids = true;
    const TTurtleRun run = RunTurtle("R", "90", "10", settings);
    ASSERT_EQ(run.Object(1).FaceCount, 5);
    std::set<std::tuple<float, float, float>> baseCorners;
    for (int f = 1; f <= 4; ++f) {
        EXPECT_EQ(run.Corner(1, f, 0), (TVector{0, 0, 100}));
        EXPECT_EQ(run.Corner(1, f, 2), run.Corner(1, f, 3));
        const TVector c = run.Corner(1, f, 1);
        baseCorners.insert({c.X, c.Y, c.Z});
    }
    EXPECT_EQ(baseCorners.size(), 4u);
    ExpectNear(run.Corner(1, 5, 0), {0, 5, 0}); // start + w L
    ExpectNear(run.Corner(1, 5, 1), {5, 0, 0}); // start + w U
}
