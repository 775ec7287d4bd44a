// Mouse drags, the wheel and keys give the steps of the navigation buttons.
#include <gtest/gtest.h>

#include <functional>

#include "viewer/navigation_fixture.h"
#include "viewer/pointer_navigation.h"

using namespace verdel;
using verdel::test::TScene;

namespace {

constexpr int Focal = 500;

// What a navigation leaves in the model: vertices and translation after the final render.
struct TOutcome {
    std::vector<TVector> Corners;
    float X, Y, Z;
    bool operator==(const TOutcome&) const = default;
};

// Drives a fresh scene (live or with the box) and settles it. The model is
// large enough to start beyond the near limit, so that no step pulls it back there.
TOutcome Drive(bool live, const std::function<void(TNavigator&, TPointerNavigator&)>& steps)
{
    TScene scene(live, true, 100);
    TPointerNavigator pointer(scene.Navigator, Focal);
    steps(scene.Navigator, pointer);
    scene.Navigator.SettleTimeout();
    return {scene.Corners(), scene.Model->TranslateX, scene.Model->TranslateY, scene.Model->TranslateZ};
}

// Holds a button for Steps steps (the press, then the repeat timer), as the window does.
void HoldButton(TNavigator& navigator, TDirection direction, int steps, bool ctrl = false)
{
    navigator.ButtonDown(direction, ctrl);
    for (int i = 1; i < steps; ++i) navigator.RepeatTick();
    navigator.ButtonUp();
}

} // namespace

TEST(PointerNavigation, DragsGiveTheButtonsSteps)
{
    // A left drag turns, a right drag moves: one step of 40 at the start distance of 800 is 25 pixels.
    const struct {
        TDrag Drag;
        int DX, DY;
        TDirection Direction;
        int Steps;
    } rows[] = {
        {TDrag::Turn, -12, 0, dirTurnLeft, 3}, {TDrag::Turn, 13, 0, dirTurnRight, 3},
        {TDrag::Turn, 0, 8, dirTurnDown, 2},   {TDrag::Turn, 0, -4, dirTurnUp, 1},
        {TDrag::Move, -50, 0, dirMoveLeft, 2}, {TDrag::Move, 74, 0, dirMoveRight, 2},
        {TDrag::Move, 0, -25, dirMoveUp, 1},   {TDrag::Move, 0, 75, dirMoveDown, 3},
    };
    for (const bool live : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "live " << live << ", direction " << int(row.Direction));
            const TOutcome dragged = Drive(live, [&](TNavigator&, TPointerNavigator& pointer) {
                pointer.Press(row.Drag, 100, 100);
                // In single pixels, as the mouse reports it: steps come as the pixels add up.
                const int n = std::max(std::abs(row.DX), std::abs(row.DY));
                for (int i = 1; i <= n; ++i) pointer.Move(100 + row.DX * i / n, 100 + row.DY * i / n);
                pointer.Release();
            });
            const TOutcome pressed = Drive(live, [&](TNavigator& navigator, TPointerNavigator&) {
                HoldButton(navigator, row.Direction, row.Steps);
            });
            EXPECT_EQ(dragged, pressed);
            EXPECT_NE(dragged, Drive(live, [](TNavigator&, TPointerNavigator&) {}));
        }
    }
}

TEST(PointerNavigation, PixelsShortOfAStepCarryOverUntilRelease)
{
    TScene scene;
    TPointerNavigator pointer(scene.Navigator, Focal);
    pointer.Press(TDrag::Turn, 0, 0);
    pointer.Move(3, 0);
    EXPECT_EQ(scene.Navigator.TurnedY, 0);
    pointer.Move(5, 0); // 5 pixels: one step, one pixel over
    EXPECT_FLOAT_EQ(scene.Navigator.TurnY, -TNavigator::SmallStep);
    pointer.Move(8, 0); // 8 pixels: two steps
    EXPECT_FLOAT_EQ(scene.Navigator.TurnY, -2 * TNavigator::SmallStep);
    pointer.Move(5, 0); // back 3: not yet a step back
    EXPECT_FLOAT_EQ(scene.Navigator.TurnY, -2 * TNavigator::SmallStep);
    pointer.Release();
    pointer.Move(100, 100); // no button held: nothing
    EXPECT_FLOAT_EQ(scene.Navigator.TurnY, -2 * TNavigator::SmallStep);
    EXPECT_FALSE(scene.Host->Spin); // a drag never starts the repeat timer
    EXPECT_TRUE(scene.Host->Timer1);
}

TEST(PointerNavigation, TheWheelStepsNearerAndFartherByNotches)
{
    const struct {
        std::vector<int> Deltas;
        int32_t Moves;
    } rows[] = {{{120}, 1},   {{60, 60}, 1},        {{60}, 0},
                {{-240}, -2}, {{240, -120, 30}, 1}, {{15, 15, 15, 15, 15, 15, 15, 15}, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Deltas.size());
        TScene scene;
        TPointerNavigator pointer(scene.Navigator, Focal);
        for (int delta : row.Deltas) pointer.Wheel(delta);
        EXPECT_EQ(scene.Navigator.MovesZ, row.Moves);
    }
    // A notch forward is the forward button's step, near limit included.
    EXPECT_EQ(Drive(false, [](TNavigator&, TPointerNavigator& p) { p.Wheel(120); }),
              Drive(false, [](TNavigator& n, TPointerNavigator&) { HoldButton(n, dirMoveForward, 1); }));
}

TEST(PointerNavigation, KeysActAsHeldButtons)
{
    const struct {
        TNavigationKey Key;
        bool Shift;
        TDirection Direction;
    } rows[] = {
        {TNavigationKey::Left, false, dirTurnLeft},      {TNavigationKey::Right, false, dirTurnRight},
        {TNavigationKey::Up, false, dirTurnUp},          {TNavigationKey::Down, false, dirTurnDown},
        {TNavigationKey::Left, true, dirMoveLeft},       {TNavigationKey::Right, true, dirMoveRight},
        {TNavigationKey::Up, true, dirMoveUp},           {TNavigationKey::Down, true, dirMoveDown},
        {TNavigationKey::PageUp, false, dirMoveForward}, {TNavigationKey::PageDown, false, dirMoveBack},
        {TNavigationKey::RollLeft, false, dirRollDown},  {TNavigationKey::RollRight, false, dirRollUp},
    };
    for (const bool ctrl : {false, true}) {
        for (const auto& row : rows) {
            SCOPED_TRACE(testing::Message() << "key " << int(row.Key) << " shift " << row.Shift << " ctrl " << ctrl);
            EXPECT_EQ(TPointerNavigator::KeyDirection(row.Key, row.Shift), row.Direction);
            const TOutcome keyed = Drive(false, [&](TNavigator& navigator, TPointerNavigator& pointer) {
                EXPECT_TRUE(pointer.KeyDown(row.Key, row.Shift, ctrl, false, 800, 600));
                // The system repeats a held key; the repeat timer already does.
                pointer.KeyDown(row.Key, row.Shift, ctrl, true, 800, 600);
                navigator.RepeatTick();
                pointer.KeyUp(row.Key, true);
                pointer.KeyDown(row.Key, row.Shift, ctrl, true, 800, 600);
                navigator.RepeatTick();
                pointer.KeyUp(row.Key, false);
            });
            const TOutcome pressed = Drive(false, [&](TNavigator& navigator, TPointerNavigator&) {
                HoldButton(navigator, row.Direction, 3, ctrl);
            });
            EXPECT_EQ(keyed, pressed);
        }
    }
}

TEST(PointerNavigation, ASecondKeyWhileOneIsHeldChangesNothing)
{
    TScene scene;
    TPointerNavigator pointer(scene.Navigator, Focal);
    pointer.KeyDown(TNavigationKey::Left, false, false, false, 800, 600);
    pointer.KeyDown(TNavigationKey::Up, false, false, false, 800, 600);
    pointer.KeyUp(TNavigationKey::Up, false);
    EXPECT_TRUE(scene.Host->Spin); // the first key still holds
    EXPECT_EQ(scene.Navigator.TurnedX, 0);
    pointer.KeyUp(TNavigationKey::Left, false);
    EXPECT_FALSE(scene.Host->Spin);
    EXPECT_FLOAT_EQ(scene.Navigator.TurnY, TNavigator::SmallStep);
}

TEST(PointerNavigation, HomeAndFitKeys)
{
    TScene scene(false, true);
    TPointerNavigator pointer(scene.Navigator, Focal);
    const std::vector<TVector> first = scene.Corners();
    pointer.Press(TDrag::Turn, 0, 0);
    pointer.Move(40, 40);
    pointer.Release();
    scene.Navigator.SettleTimeout();
    ASSERT_NE(scene.Corners(), first);
    EXPECT_TRUE(pointer.KeyDown(TNavigationKey::Home, false, false, false, 800, 600));
    EXPECT_EQ(scene.Corners(), first);
    EXPECT_TRUE(pointer.KeyDown(TNavigationKey::Fit, false, false, false, 800, 600));
    EXPECT_EQ(scene.Model->TranslateZ, scene.Navigator.NearLimit); // the small model: as near as allowed
    EXPECT_FALSE(scene.Host->Spin);
}
