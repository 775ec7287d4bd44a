#include <gtest/gtest.h>

#include <cmath>

#include "engine/text_number.h"
#include "support/turtle_run.h"

using namespace verdel;
using namespace verdel::test;

namespace {

// The segment of a block object: the centres of its two end faces (faces 5 and 6).
std::pair<TVector, TVector> BlockSegment(const TTurtleRun& run, int k)
{
    auto centre = [&](int face) {
        TVector sum;
        for (int c = 0; c < 4; ++c) sum = sum + run.Corner(k, face, c);
        return TVector{sum.X / 4, sum.Y / 4, sum.Z / 4};
    };
    return {centre(5), centre(6)};
}

void ExpectNear(TVector actual, TVector expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.X, expected.X, tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, tolerance);
    EXPECT_NEAR(actual.Z, expected.Z, tolerance);
}

int ColorAfter(const std::string& commands)
{
    const TTurtleRun run = RunTurtle(commands + "F", "90", "10", Blocks());
    return run.Object(run.Store->ObjectCount).ColorIndex;
}

} // namespace

TEST(InterpretProduction, SegmentsFollowTheHeading)
{
    const TTurtleRun straight = RunTurtle("F", "90", "10", Blocks());
    ASSERT_EQ(straight.Result.ObjectCount, 1);
    ExpectNear(BlockSegment(straight, 1).first, {0, 0, 0});
    ExpectNear(BlockSegment(straight, 1).second, {0, 0, 100});

    const TTurtleRun turned = RunTurtle("+F", "90", "10", Blocks());
    ExpectNear(BlockSegment(turned, 1).second, {0, 100, 0});

    const TTurtleRun pitched = RunTurtle("&F", "90", "10", Blocks());
    ExpectNear(BlockSegment(pitched, 1).second, {100, 0, 0});
}

TEST(InterpretProduction, ParametersSetOneSegmentOrAngle)
{
    const TTurtleRun run = RunTurtle("F(25)F+(45)f(1,5)Z", "90", "10", Blocks());
    ASSERT_EQ(run.Result.ObjectCount, 3);
    ExpectNear(BlockSegment(run, 1).second, {0, 0, 25});
    ExpectNear(BlockSegment(run, 2).second, {0, 0, 125});
    const float s = std::sqrt(0.5f);
    ExpectNear(BlockSegment(run, 3).first, {0, 1.5f * s, 125 + 1.5f * s});
    ExpectNear(BlockSegment(run, 3).second, {0, 51.5f * s, 125 + 51.5f * s});
}

TEST(InterpretProduction, ColourCommandCyclesOneToEleven)
{
    EXPECT_EQ(ColorAfter(std::string(11, 'c')), 1);
    EXPECT_EQ(ColorAfter(std::string(12, 'c')), 2);
    EXPECT_EQ(ColorAfter("c(12)"), 12);
    EXPECT_EQ(ColorAfter("c(5)c(13)"), 5);
    EXPECT_EQ(ColorAfter("c(5)c(0)"), 5);
    EXPECT_EQ(ColorAfter("c(2.5)"), 2); // ties to even
    EXPECT_EQ(ColorAfter("c(3,5)"), 4);
}

TEST(InterpretProduction, IgnoredSolidsNeitherDrawNorMoveAndConsumeTheirParameter)
{
    const TTurtleRun run = RunTurtle("{Q(-.5)W(2)R(3)fff}F", "90", "10", Blocks());
    // Without the settings Q, W and R do nothing; "." and "-" inside their
    // parameters are not read as commands, so the polygon has f's vertices only.
    ASSERT_EQ(run.Result.ObjectCount, 2);
    EXPECT_EQ(run.Object(1).VertexCount, 4);
    ExpectNear(BlockSegment(run, 2).first, {0, 0, 300});
}

TEST(InterpretProduction, PolygonsAreFans)
{
    const TTurtleRun square = RunTurtle("{f+f+f}", "90");
    ASSERT_EQ(square.Result.ObjectCount, 1);
    EXPECT_EQ(square.Object(1).VertexCount, 4);
    EXPECT_EQ(square.Object(1).FaceCount, 2);
    const TFaceNode* second = square.Object(1).ModelFaces->Next;
    EXPECT_EQ(second->CornerIndex[0], 1);
    EXPECT_EQ(second->CornerIndex[1], 3);
    EXPECT_EQ(second->CornerIndex[3], 4);

    EXPECT_EQ(RunTurtle("{ff}").Object(1).FaceCount, 1);
    EXPECT_EQ(RunTurtle("{f}").Result.ObjectCount, 0);
    EXPECT_EQ(RunTurtle("}}{.}").Result.ObjectCount, 0); // stray closers do nothing
}

TEST(InterpretProduction, NestedPolygonsAndDrawingInsideKeepTheVertices)
{
    const TTurtleRun run = RunTurtle("{f{f+f+f}+fF+f}", "90", "10", Blocks());
    ASSERT_EQ(run.Result.ObjectCount, 3);
    EXPECT_EQ(run.Object(1).VertexCount, 4); // the inner polygon closes first
    EXPECT_EQ(run.Object(2).VertexCount, 8); // the block drawn inside the outer polygon
    const TFaceObject& outer = run.Object(3);
    EXPECT_EQ(outer.VertexCount, 4); // {, f, f (after +), f: the block did not disturb it
    EXPECT_EQ(run.Corner(3, 1, 0), (TVector{0, 0, 0}));
}

TEST(InterpretProduction, PolygonsHoldAtMostFiveHundredVertices)
{
    const TTurtleRun run = RunTurtle("{" + std::string(600, '.') + "}");
    ASSERT_EQ(run.Result.ObjectCount, 1);
    EXPECT_EQ(run.Object(1).VertexCount, 500);
    EXPECT_EQ(run.Object(1).FaceCount, 498);
}

TEST(InterpretProduction, FractionModeScalesUntilTheNextAt)
{
    // One fractional step turns FXF into F@F@F.
    const TTurtleRun run = RunDefinition({"0.5", "90", "10", "FXF", "X=F", "@"}, Blocks());
    ASSERT_EQ(run.State->Production, "F@F@F");
    ASSERT_EQ(run.Result.ObjectCount, 3);
    ExpectNear(BlockSegment(run, 2).first, {0, 0, 100});
    ExpectNear(BlockSegment(run, 2).second, {0, 0, 150});
    ExpectNear(BlockSegment(run, 3).second, {0, 0, 250});
    // Thickness is halved too: the half-width of the middle block is a quarter of the others'.
    EXPECT_NEAR(run.Corner(2, 1, 0).X * 4, run.Corner(1, 1, 0).X, 1e-4f);
}

TEST(InterpretProduction, BranchesRestoreTheState)
{
    const TTurtleRun run = RunTurtle("[+F'c]F", "90", "10", Blocks());
    ASSERT_EQ(run.Result.ObjectCount, 2);
    ExpectNear(BlockSegment(run, 2).second, {0, 0, 100});
    EXPECT_EQ(run.Object(2).ColorIndex, 1);
}

TEST(InterpretProduction, StackLimitsIgnoreTheExcessAndKeepNesting)
{
    const std::string deep = std::string(1100, '[') + "+" + std::string(1100, ']') + "F";
    const TTurtleRun run = RunTurtle("]]" + deep, "90", "10", Blocks());
    ASSERT_EQ(run.Result.ObjectCount, 1);
    ExpectNear(BlockSegment(run, 1).second, {0, 0, 100});

    const TTurtleRun polygons = RunTurtle(std::string(1100, '{') + "ff" + std::string(1100, '}'));
    EXPECT_EQ(polygons.Result.ObjectCount, 1); // only the innermost polygon has three vertices
}

TEST(InterpretProduction, VerticalHeadingLeavesRollAndTropismAlone)
{
    const TTurtleRun roll = RunTurtle("$F", "90", "10", Blocks());
    const TTurtleRun tropism = RunTurtle("t(0.5)F", "90", "10", Blocks());
    const TTurtleRun plain = RunTurtle("F", "90", "10", Blocks());
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(roll.Corner(1, 1, c), plain.Corner(1, 1, c));
        EXPECT_EQ(tropism.Corner(1, 1, c), plain.Corner(1, 1, c));
    }
}

TEST(InterpretProduction, TropismBendsTowardsTheGround)
{
    const TTurtleRun run = RunTurtle("&(45)t(0.5)F", "90", "10", Blocks());
    const TVector end = BlockSegment(run, 1).second;
    EXPECT_LT(end.Z, 100 * std::sqrt(0.5f));
}

TEST(InterpretProduction, RandomTurnsDrawThreeRealsFromTheSource)
{
    const TTurtleRun a = RunTurtle("~F", "90", "10", Blocks(), 42);
    const TTurtleRun b = RunTurtle("~F", "90", "10", Blocks(), 42);
    const TTurtleRun c = RunTurtle("~F", "90", "10", Blocks(), 43);
    EXPECT_EQ(a.Corner(1, 6, 0), b.Corner(1, 6, 0));
    EXPECT_NE(a.Corner(1, 6, 0), c.Corner(1, 6, 0));

    TRandomSource source;
    source.Seed = 42;
    for (int i = 0; i < 3; ++i) source.NextReal();
    TRandomSource shared;
    shared.Seed = 42;
    TTurtleRun run;
    ParseDefinition(*run.State, {"0", "90", "10", "~", "@"});
    TMeshBuilder builder(*run.Store);
    InterpretProduction(*run.State, {}, builder, shared);
    EXPECT_EQ(shared.Seed, source.Seed);
}

TEST(InterpretProduction, MalformedParameterEndsTheRun)
{
    try {
        RunTurtle("FF(1.2.3)F");
        FAIL() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'1.2.3' is not a valid floating point value");
    }
}

TEST(InterpretProduction, StopsAtTheObjectTableLimit)
{
    const TTurtleRun run = RunTurtle(std::string(MaxObjects + 5, 'F'), "90", "1", Blocks());
    EXPECT_TRUE(run.Result.TableFull);
    EXPECT_EQ(run.Result.ObjectCount, MaxObjects);
    EXPECT_EQ(run.Store->ObjectCount, MaxObjects);
}

// Once a turtle overflow put infinite corners into the model, and writing it
// then failed as if the output file were at fault.
TEST(InterpretProduction, RegressionObjectsWithCornersBeyondSingleRangeAreLeftOut)
{
    // A solid's width comes from its length, the root of the squared length in
    // single precision: 1e19 squared (1e38) is within a Single's range
    // (3.4e38), 3e38 squared is not. A second 3e38 step leaves the range
    // itself, and everything drawn from there is infinite too.
    const struct {
        const char* Production;
        int Kept;
        int LeftOut;
    } cases[] = {
        {"F(1e19)", 1, 0},
        {"F(3e38)", 0, 1},
        {"F(3e38)F(3e38)F", 0, 3},
        {"[F(3e38)]F", 1, 1},
        {"F[{.f(3e38).f(3e38).}]F", 2, 1}, // a polygon with an infinite vertex
    };
    for (const auto& c : cases) {
        for (const TSolidSettings& settings : {Blocks(), TSolidSettings{}}) {
            SCOPED_TRACE(std::string(c.Production) + (settings.Cylinders ? " tubes" : " blocks"));
            const TTurtleRun run = RunTurtle(c.Production, "90", "10", settings);
            EXPECT_EQ(run.Result.ObjectCount, c.Kept);
            EXPECT_EQ(run.Result.LeftOutObjects, c.LeftOut);
            ASSERT_EQ(run.Store->ObjectCount, c.Kept);
            for (int k = 1; k <= c.Kept; ++k)
                for (const TFaceNode* face = run.Object(k).ModelFaces; face; face = face->Next)
                    for (const TVector& corner : face->Corners)
                        EXPECT_TRUE(std::isfinite(corner.X) && std::isfinite(corner.Y) && std::isfinite(corner.Z));
        }
    }
}
