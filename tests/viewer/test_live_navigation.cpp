// Live frames, work that waits for the model's frame, Home and Fit.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/mesh_builder.h"
#include "viewer/navigation_fixture.h"

using namespace verdel;
using verdel::test::TScene;

namespace {

using TDraw = std::pair<const TFaceStore*, bool>;

} // namespace

TEST(LiveNavigation, AStepMovesAndDrawsTheModelAtOnce)
{
    TScene scene(true);
    scene.Navigator.ButtonDown(dirMoveLeft, false);
    EXPECT_EQ(scene.Model->TranslateX, -2.0f + 0.4f);
    EXPECT_EQ(scene.Outline->TranslateX, -2.0f + 0.4f); // the box keeps up, for a switch to the box
    EXPECT_EQ(scene.Navigator.MovesX, 0);
    EXPECT_FALSE(scene.Host->Wireframe); // the model comes in the user's mode
    ASSERT_EQ(scene.Host->Draws.size(), 1u);
    EXPECT_EQ(scene.Host->Draws[0], (TDraw{scene.Model.get(), false}));

    // The pause after the last step draws nothing more: the model on screen is already the final one.
    scene.Navigator.ButtonUp();
    scene.Navigator.SettleTimeout();
    EXPECT_EQ(scene.Host->Draws.size(), 1u);
    EXPECT_EQ(scene.Navigator.SettleIntervalMs(), 2000);
}

TEST(LiveNavigation, FrameTimeAndSettingChooseBetweenModelAndBox)
{
    const struct {
        bool Setting;
        double LastFrameMs;
        bool Live;
    } rows[] = {{true, 0, true}, {true, 40, true}, {true, 40.01, false}, {true, 250, false}, {false, 1, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.Setting << " " << row.LastFrameMs);
        TScene scene(row.Setting);
        scene.Navigator.ModelFrameDone(row.LastFrameMs);
        scene.Navigator.ButtonDown(dirTurnDown, false);
        EXPECT_EQ(scene.Navigator.LiveNow(), row.Live);
        const TFaceStore* drawn = row.Live ? scene.Model.get() : scene.Outline.get();
        EXPECT_EQ(scene.Host->Draws.back().first, drawn);
        EXPECT_EQ(scene.Host->Wireframe, !row.Live);
        EXPECT_EQ(scene.Navigator.TurnedX, row.Live ? 0 : 1); // a live step is no longer counted
    }
}

TEST(LiveNavigation, StepsWaitWhileTheModelIsDrawnAndGoInOneTurn)
{
    TScene scene(true);
    scene.Host->InUse = true;
    scene.Navigator.ButtonDown(dirTurnLeft, false);
    scene.Navigator.RepeatTick();
    scene.Navigator.RepeatTick();
    // The box took every step; the model, being drawn, took none.
    ASSERT_EQ(scene.Host->Rotations.size(), 3u);
    for (const auto& turn : scene.Host->Rotations) EXPECT_EQ(turn.Store, scene.Outline.get());
    EXPECT_TRUE(scene.Host->Draws.empty());

    scene.Host->InUse = false;
    scene.Navigator.ModelFrameDone(12);
    ASSERT_EQ(scene.Host->Rotations.size(), 4u);
    const auto& turn = scene.Host->Rotations.back();
    EXPECT_EQ(turn.Store, scene.Model.get());
    EXPECT_EQ(turn.AngleY, TNavigator::SmallStep + TNavigator::SmallStep + TNavigator::SmallStep);
    EXPECT_EQ(scene.Host->Draws, (std::vector<TDraw>{{scene.Model.get(), false}}));
    EXPECT_EQ(scene.Navigator.LastModelFrameMs, 12);

    // A frame finished with nothing waiting changes nothing.
    scene.Navigator.ModelFrameDone(15);
    EXPECT_EQ(scene.Host->Draws.size(), 1u);
}

TEST(LiveNavigation, TheFinalRenderWaitsForTheModelToo)
{
    TScene scene(false);
    scene.Navigator.ButtonDown(dirMoveUp, false);
    scene.Navigator.ButtonUp();
    scene.Host->InUse = true;
    scene.Navigator.SettleTimeout();
    EXPECT_EQ(scene.Model->TranslateY, -1.0f); // not while the model is drawn
    EXPECT_EQ(scene.Navigator.MovesY, 1);
    scene.Host->InUse = false;
    scene.Navigator.ModelFrameDone(90);
    EXPECT_EQ(scene.Model->TranslateY, -1.0f + 0.4f);
    EXPECT_EQ(scene.Host->Draws.back(), (TDraw{scene.Model.get(), true}));
    EXPECT_FALSE(scene.Host->Wireframe);
}

TEST(LiveNavigation, ResetDropsWorkThatWaits)
{
    TScene scene(true);
    scene.Host->InUse = true;
    scene.Navigator.ButtonDown(dirMoveLeft, false);
    scene.Navigator.Reset();
    scene.Host->InUse = false;
    scene.Navigator.ModelFrameDone(5);
    EXPECT_TRUE(scene.Host->Draws.empty());
    EXPECT_EQ(scene.Model->TranslateX, -2.0f);
}

TEST(ReturnHome, GivesBackTheVerticesAndPlaceOfTheFirstView)
{
    for (const bool live : {false, true}) {
        SCOPED_TRACE(live);
        TScene scene(live, true);
        const std::vector<TVector> first = scene.Corners();
        scene.Navigator.ButtonDown(dirTurnLeft, true);
        scene.Navigator.ButtonUp();
        scene.Navigator.ButtonDown(dirRollUp, false);
        scene.Navigator.ButtonUp();
        scene.Navigator.ButtonDown(dirMoveBack, false);
        scene.Navigator.ButtonUp();
        scene.Navigator.SettleTimeout();
        ASSERT_NE(scene.Corners(), first);

        // Pending steps are dropped too.
        scene.Navigator.ButtonDown(dirMoveLeft, false);
        scene.Navigator.ButtonUp();
        scene.Navigator.ReturnHome();
        EXPECT_EQ(scene.Corners(), first);
        EXPECT_EQ(scene.Model->TranslateX, -2.0f);
        EXPECT_EQ(scene.Model->TranslateY, -1.0f);
        EXPECT_EQ(scene.Model->TranslateZ, -8.0f);
        EXPECT_EQ(scene.Outline->TranslateZ, -8.0f);
        EXPECT_EQ(scene.Navigator.MovesX, 0);
        EXPECT_EQ(scene.Host->Draws.back(), (TDraw{scene.Model.get(), true}));
    }
}

TEST(ReturnHome, BeforeAnyTurnOnlyPlacesTheModel)
{
    TScene scene(false, true);
    const std::vector<TVector> first = scene.Corners();
    scene.Navigator.ButtonDown(dirMoveUp, false);
    scene.Navigator.ButtonUp();
    scene.Navigator.SettleTimeout();
    scene.Navigator.ReturnHome();
    EXPECT_EQ(scene.Corners(), first);
    EXPECT_EQ(scene.Model->TranslateY, -1.0f);
    EXPECT_TRUE(scene.Host->Rotations.empty());
}

// Replaces the scene's model with one box mesh of these eight corners (bottom four, then top four).
static void MakeBox(TScene& scene, const TVector (&corners)[8])
{
    FreeScene(*scene.Model);
    TMeshBuilder builder(*scene.Model);
    for (int i = 0; i < 8; ++i) builder.MeshVertex(i + 1) = corners[i];
    const uint16_t faces[6][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}};
    for (int f = 0; f < 6; ++f) builder.MeshFace(f + 1) = {faces[f][0], faces[f][1], faces[f][2], faces[f][3]};
    builder.AddMesh(8, 6, 1);
    ComputeBounds(*scene.Model);
    scene.Navigator.Setup(PrepareView(*scene.Model).ModelSize);
}

TEST(FitToWindow, EveryCornerInsideAndTheTallerSideNearlyFilling)
{
    // A tall, thin model: fitting it needs a distance beyond the near limit.
    TScene scene(true);
    const TVector corners[8] = {{0, 0, 0},  {40, 0, 0},  {40, 300, 0},  {0, 300, 0},
                                {0, 0, 10}, {40, 0, 10}, {40, 300, 10}, {0, 300, 10}};
    MakeBox(scene, corners);

    const int width = 400, height = 300, focal = 500;
    scene.Navigator.FitToWindow(width, height, focal);
    EXPECT_EQ(scene.Model->TranslateX, -20.0f);
    EXPECT_EQ(scene.Model->TranslateY, -150.0f);
    EXPECT_LT(scene.Model->TranslateZ, scene.Navigator.NearLimit);
    EXPECT_EQ(scene.Outline->TranslateZ, scene.Model->TranslateZ);
    EXPECT_EQ(scene.Host->Draws.back(), (TDraw{scene.Model.get(), true}));

    // Projected as the renderer does (x / z and y / z times the focal length, about the middle).
    double top = 0, bottom = height, left = width, right = 0;
    for (const TVector& c : corners) {
        const double z = c.Z + scene.Model->TranslateZ;
        const double x = width / 2.0 + focal * (c.X + scene.Model->TranslateX) / z;
        const double y = height / 2.0 + focal * (c.Y + scene.Model->TranslateY) / z;
        EXPECT_GE(x, 0);
        EXPECT_LE(x, width);
        EXPECT_GE(y, 0);
        EXPECT_LE(y, height);
        left = std::min(left, x), right = std::max(right, x), top = std::max(top, y), bottom = std::min(bottom, y);
    }
    EXPECT_GT(top - bottom, 0.8 * height);
}

TEST(FitToWindow, AUnitCubeFillsThePictureAndStaysInFrontWhenTurned)
{
    TScene scene(true);
    const TVector corners[8] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    MakeBox(scene, corners);
    const int width = 400, height = 300, focal = 500;
    scene.Navigator.FitToWindow(width, height, focal);
    double top = -height, bottom = height;
    for (const TVector& c : corners) {
        const double z = c.Z + scene.Model->TranslateZ;
        const double x = focal * (c.X + scene.Model->TranslateX) / z;
        const double y = focal * (c.Y + scene.Model->TranslateY) / z;
        EXPECT_LE(std::fabs(x), width / 2.0);
        EXPECT_LE(std::fabs(y), height / 2.0);
        top = std::max(top, y), bottom = std::min(bottom, y);
    }
    EXPECT_GT(top - bottom, 0.5 * height); // was a dozen pixels behind the fixed near limit
    // Any turn about the origin keeps the whole cube in front of the eye; steps stop where F put it.
    EXPECT_LT(scene.Model->TranslateZ + std::sqrt(3.0), 0);
    EXPECT_EQ(scene.Navigator.NearLimit, scene.Model->TranslateZ);
}

TEST(PixelsPerMoveStep, OneStepMovesTheModelsMiddleThatFarOnScreen)
{
    TScene scene;
    // One x step of 0.4 at a distance of 8 with focal length 500: 500 * 0.4 / 8 pixels.
    EXPECT_FLOAT_EQ(scene.Navigator.PixelsPerMoveStep(500), 25.0f);
    scene.Outline->TranslateZ = -1000;
    EXPECT_FLOAT_EQ(scene.Navigator.PixelsPerMoveStep(500), 4.0f); // far away: at least 4
    scene.Outline->TranslateZ = -0.5f;
    EXPECT_FLOAT_EQ(scene.Navigator.PixelsPerMoveStep(500), 100.0f); // very near: at most 100
}
