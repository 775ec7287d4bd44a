#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "viewer/export_names.h"
#include "viewer/navigation_fixture.h"

using namespace verdel;

using verdel::test::TScene;

TEST(TNavigator, SetupFromTheModelsBounds)
{
    TScene scene;
    EXPECT_EQ(scene.Navigator.StepX, 0.4f);
    EXPECT_EQ(scene.Navigator.StepY, 0.4f);
    EXPECT_EQ(scene.Navigator.StepZ, 0.26666668f);
    EXPECT_EQ(scene.Navigator.NearLimit, -54.0f);
    EXPECT_EQ(scene.Model->TranslateX, -2.0f);
    EXPECT_EQ(scene.Model->TranslateY, -1.0f);
    EXPECT_EQ(scene.Model->TranslateZ, -8.0f);
    // Without an outline file the proxy is built: one object, its six faces on the bounding box.
    ASSERT_EQ(scene.Outline->ObjectCount, 1);
    EXPECT_EQ(scene.Outline->Object(1).FaceCount, 6);
    const TFaceNode* top = scene.Outline->Object(1).ModelFaces;
    for (int f = 1; f < 6; ++f) top = top->Next;
    EXPECT_EQ(top->Corners[0], (TVector{0, 2, 1})); // face 6: (mx, My, Mz)
    EXPECT_EQ(scene.Outline->TranslateZ, -8.0f);
}

TEST(TNavigator, ForwardStopsAtTheNearLimit)
{
    TScene scene;
    scene.Navigator.ButtonDown(dirMoveForward, false);
    EXPECT_EQ(scene.Outline->TranslateZ, -54.0f); // -8 already lies above the limit
    EXPECT_EQ(scene.Navigator.MovesZ, 1);
    EXPECT_TRUE(scene.Host->Wireframe);
    EXPECT_EQ(scene.Host->Draws.back(), (std::pair<const TFaceStore*, bool>{scene.Outline.get(), false}));
    scene.Navigator.ButtonUp();
    scene.Navigator.SettleTimeout();
    EXPECT_EQ(scene.Model->TranslateZ, -54.0f);
    EXPECT_FALSE(scene.Host->Wireframe);
    EXPECT_EQ(scene.Host->Draws.back(), (std::pair<const TFaceStore*, bool>{scene.Model.get(), true}));

    // Moving back is not limited.
    TScene back;
    back.Navigator.ButtonDown(dirMoveBack, false);
    EXPECT_EQ(back.Outline->TranslateZ, -8.0f - 0.26666668f);
}

TEST(TNavigator, CtrlMakesTheFirstTurnFortyFiveDegrees)
{
    EXPECT_EQ(std::bit_cast<uint32_t>(TNavigator::SmallStep), 0x3D32B8B8u); // 2.5 degrees
    EXPECT_EQ(std::bit_cast<uint32_t>(TNavigator::LargeStep), 0x3F490FD0u); // a hair below 45 degrees
    TScene scene;
    scene.Navigator.ButtonDown(dirTurnLeft, true);
    scene.Navigator.RepeatTick();
    scene.Navigator.RepeatTick();
    ASSERT_EQ(scene.Host->Rotations.size(), 3u);
    EXPECT_EQ(scene.Host->Rotations[0].AngleY, TNavigator::LargeStep);
    EXPECT_EQ(scene.Host->Rotations[1].AngleY, TNavigator::SmallStep);
    EXPECT_EQ(scene.Host->Rotations[2].AngleY, TNavigator::SmallStep);
    EXPECT_EQ(scene.Host->Rotations[0].AboutY, true);
    EXPECT_EQ(scene.Host->Rotations[0].AboutX, false);
    EXPECT_EQ(scene.Navigator.TurnY, TNavigator::LargeStep + TNavigator::SmallStep + TNavigator::SmallStep);

    // A held button keeps its direction; another press while it runs changes nothing.
    scene.Navigator.ButtonDown(dirMoveUp, false);
    EXPECT_EQ(scene.Navigator.HeldDirection, dirTurnLeft);
}

TEST(TNavigator, RenderButtonActsOnlyWhileARenderIsPending)
{
    TScene scene;
    scene.Navigator.RenderRequested();
    EXPECT_TRUE(scene.Host->Draws.empty());

    scene.Navigator.ButtonDown(dirMoveLeft, false);
    scene.Navigator.ButtonUp();
    EXPECT_FALSE(scene.Host->Spin);
    EXPECT_TRUE(scene.Host->Timer1);
    EXPECT_EQ(scene.Host->Interval, 1000); // the first interval
    scene.Navigator.RenderRequested();
    EXPECT_FALSE(scene.Navigator.SettleTimerOn());
    EXPECT_EQ(scene.Navigator.SettleIntervalMs(), 2500);
    EXPECT_EQ(scene.Model->TranslateX, -2.0f + 0.4f);

    scene.Navigator.ButtonDown(dirMoveLeft, false);
    scene.Navigator.ButtonUp();
    scene.Navigator.SettleTimeout();
    EXPECT_EQ(scene.Navigator.SettleIntervalMs(), 2000);
}

TEST(TNavigator, EveryStepRestartsTheDeferredRender)
{
    TScene scene;
    scene.Navigator.ButtonDown(dirMoveUp, false);
    scene.Navigator.RepeatTick();
    scene.Navigator.RepeatTick();
    EXPECT_EQ(scene.Host->Timer1Starts, 3);
    EXPECT_EQ(scene.Navigator.MovesY, 3);
    EXPECT_EQ(scene.Model->TranslateY, -1.0f); // the model moves only at the final render
}

TEST(TNavigator, FinalRenderAppliesNetTurnsZFirstAndNetMoves)
{
    TScene scene;
    scene.Navigator.ButtonDown(dirTurnDown, false); // about x
    scene.Navigator.ButtonUp();
    scene.Navigator.ButtonDown(dirRollUp, false); // about z
    scene.Navigator.ButtonUp();
    for (int i = 0; i < 3; ++i) {
        scene.Navigator.ButtonDown(dirMoveLeft, false);
        scene.Navigator.ButtonUp();
    }
    scene.Navigator.ButtonDown(dirMoveRight, false);
    scene.Navigator.ButtonUp();
    scene.Host->Rotations.clear();
    scene.Navigator.SettleTimeout();

    ASSERT_EQ(scene.Host->Rotations.size(), 1u);
    const auto& turn = scene.Host->Rotations[0];
    EXPECT_EQ(turn.Store, scene.Model.get());
    EXPECT_EQ(turn.AboutX, true);
    EXPECT_EQ(turn.AboutY, false);
    EXPECT_EQ(turn.AboutZ, true); // one call: the renderer turns about z before x
    EXPECT_EQ(turn.AngleX, TNavigator::SmallStep);
    EXPECT_EQ(turn.AngleZ, TNavigator::SmallStep);
    EXPECT_EQ(scene.Model->TranslateX, -2.0f + 2 * 0.4f);
    EXPECT_EQ(scene.Navigator.MovesX, 0);
    EXPECT_EQ(scene.Navigator.TurnedX, 0);
}

TEST(ExportNames, ProposalAndCorrection)
{
    EXPECT_EQ(DefaultExportName("/data/vdfiles/tree.vd", ".dxf"), "tree.dxf");
    EXPECT_EQ(DefaultExportName("Random01.vd", ".dxf"), "Random01.dxf");
    EXPECT_EQ(DefaultExportName("", ".dxf"), ".dxf");
    EXPECT_EQ(DefaultExportName("/a/my.tree.vd", ".dxf"), "my.dxf");

    EXPECT_EQ(CorrectedExportName("/out/tree.bmp", ".jpg"), "/out/tree.jpg");
    EXPECT_EQ(CorrectedExportName("/out/tree", ".bmp"), "/out/tree.bmp");
    EXPECT_EQ(CorrectedExportName("/out/tree.DXF", ".dxf"), std::nullopt);
    EXPECT_EQ(CorrectedExportName("/out.d/a.b.c", ".dxf"), "/out.d/a.dxf");
}
