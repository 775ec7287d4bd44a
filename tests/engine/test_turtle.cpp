#include <gtest/gtest.h>

#include <cmath>

#include "support/models.h"
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

int ColorAfter(const std::string& commands)
{
    const TTurtleRun run = RunTurtle(commands + "F", "90", "10", Blocks());
    return run.Object(run.Store->ObjectCount).ColorIndex;
}

} // namespace

// Where the turtle draws: the segment of block K, its start and its end.
TEST(InterpretProduction, SegmentsFollowTheHeadingParametersAndBranches)
{
    const float s = std::sqrt(0.5f);
    const std::string parameters = "F(25)F+(45)f(1,5)Z";
    const std::string deep = "]]" + std::string(1100, '[') + "+" + std::string(1100, ']') + "F";
    const struct {
        std::string Production;
        int Objects, K;
        TVector Start, End;
    } cases[] = {
        {"F", 1, 1, {0, 0, 0}, {0, 0, 100}},
        {"+F", 1, 1, {0, 0, 0}, {0, 100, 0}},
        {"&F", 1, 1, {0, 0, 0}, {100, 0, 0}},
        {parameters, 3, 1, {0, 0, 0}, {0, 0, 25}},
        {parameters, 3, 2, {0, 0, 25}, {0, 0, 125}},
        {parameters, 3, 3, {0, 1.5f * s, 125 + 1.5f * s}, {0, 51.5f * s, 125 + 51.5f * s}},
        // Q, W and R without their settings neither draw nor move, and "." and
        // "-" inside their parameters are no commands.
        {"{Q(-.5)W(2)R(3)fff}F", 2, 2, {0, 0, 300}, {0, 0, 400}},
        {"[+F'c]F", 2, 2, {0, 0, 0}, {0, 0, 100}},
        {deep, 1, 1, {0, 0, 0}, {0, 0, 100}}, // the excess of a deep stack is ignored, nesting kept
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Production.substr(0, 30) + " block " + std::to_string(c.K));
        const TTurtleRun run = RunTurtle(c.Production, "90", "10", Blocks());
        ASSERT_EQ(run.Result.ObjectCount, c.Objects);
        ExpectNear(BlockSegment(run, c.K).first, c.Start);
        ExpectNear(BlockSegment(run, c.K).second, c.End);
        EXPECT_EQ(run.Object(c.K).ColorIndex, 1);
    }
    EXPECT_EQ(RunTurtle("{Q(-.5)W(2)R(3)fff}F", "90", "10", Blocks()).Object(1).VertexCount, 4);
}

// In an extended definition the parameters of modules that are no command
// are skipped: "A(-90,.5)" neither turns nor adds a vertex.
TEST(InterpretProduction, ParametersOfOtherModulesAreNoCommands)
{
    const TTurtleRun run = RunDefinition({"#extended", "0", "90", "10", "{fA(-90,.5)fA(.5)f}F", "@"}, Blocks());
    ASSERT_EQ(run.Result.ObjectCount, 2);
    EXPECT_EQ(run.Object(1).VertexCount, 4);
    ExpectNear(BlockSegment(run, 2).first, {0, 0, 300});
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

TEST(InterpretProduction, PolygonsAreFansOfAtMostFiveHundredVerticesAndNest)
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
    // Only the innermost of 1100 nested polygons has three vertices.
    EXPECT_EQ(RunTurtle(std::string(1100, '{') + "ff" + std::string(1100, '}')).Result.ObjectCount, 1);
    const TTurtleRun many = RunTurtle("{" + std::string(600, '.') + "}");
    EXPECT_EQ(many.Object(1).VertexCount, 500);
    EXPECT_EQ(many.Object(1).FaceCount, 498);
    // The inner polygon closes first; a block drawn inside the outer one leaves its vertices alone.
    const TTurtleRun nested = RunTurtle("{f{f+f+f}+fF+f}", "90", "10", Blocks());
    ASSERT_EQ(nested.Result.ObjectCount, 3);
    EXPECT_EQ(std::vector<int>({nested.Object(1).VertexCount, nested.Object(2).VertexCount, nested.Object(3).VertexCount}),
              std::vector<int>({4, 8, 4}));
    EXPECT_EQ(nested.Corner(3, 1, 0), (TVector{0, 0, 0}));
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

TEST(InterpretProduction, RollAndTropismLeaveAVerticalHeadingAloneAndBendOthersDown)
{
    const TTurtleRun plain = RunTurtle("F", "90", "10", Blocks());
    for (const char* production : {"$F", "t(0.5)F"}) {
        const TTurtleRun run = RunTurtle(production, "90", "10", Blocks());
        for (int c = 0; c < 4; ++c) EXPECT_EQ(run.Corner(1, 1, c), plain.Corner(1, 1, c)) << production;
    }
    EXPECT_LT(BlockSegment(RunTurtle("&(45)t(0.5)F", "90", "10", Blocks()), 1).second.Z, 100 * std::sqrt(0.5f));
}

// "~(A)" turns about each axis by an angle drawn evenly from -A to A: two of
// the turns move the heading, so a segment leans at most as far as both
// together (cos = cos A cos A), and over many seeds it leans every way alike.
TEST(InterpretProduction, RandomTurnsSpreadEvenlyWithinTheAmplitude)
{
    const float amplitude = 10 * 3.14159265f / 180;
    TVector sum;
    float lowest = 100;
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        const TVector end = BlockSegment(RunTurtle("~(10)F", "90", "10", Blocks(), seed * 2654435761u), 1).second;
        sum = sum + end;
        lowest = std::min(lowest, end.Z);
    }
    EXPECT_NEAR(sum.X / 400, 0, 2);
    EXPECT_NEAR(sum.Y / 400, 0, 2);
    EXPECT_GE(lowest, 100 * std::cos(amplitude) * std::cos(amplitude) - 1e-3f);
    EXPECT_LT(lowest, 100 * std::cos(amplitude * 0.8f)); // they do lean
}

// Once a turtle overflow put infinite corners into the model, and writing it
// then failed as if the output file were at fault. The generation counts what
// was left out.
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
            TGenerationResult result;
            const auto store = GenerateStore({"0", "90", "10", c.Production, "@"}, settings, &result);
            EXPECT_EQ(result.Status, TGenerationStatus::Done);
            EXPECT_EQ(result.ObjectCount, c.Kept);
            EXPECT_EQ(result.LeftOutObjects, c.LeftOut);
            ASSERT_EQ(store->ObjectCount, c.Kept);
            for (int k = 1; k <= c.Kept; ++k)
                for (const TFaceNode* face = store->Object(k).ModelFaces; face; face = face->Next)
                    for (const TVector& corner : face->Corners)
                        EXPECT_TRUE(std::isfinite(corner.X) && std::isfinite(corner.Y) && std::isfinite(corner.Z));
        }
    }
}
