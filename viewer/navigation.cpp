#include "viewer/navigation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <iterator>

#include "engine/mesh_builder.h"
#include "viewer/fit_view.h"
#include "viewer/upright.h"
#include "viewer/view_preparation.h"

namespace verdel {

const float TNavigator::SmallStep = std::bit_cast<float>(0x3D32B8B8u); // 0.0436332
const float TNavigator::LargeStep = std::bit_cast<float>(0x3F490FD0u); // 0.7853975

namespace {

// The proxy when there is no outline file: one object of six faces, silver.
void BuildProxyObject(TFaceStore& outline)
{
    FreeScene(outline);
    TMeshBuilder builder(outline);
    for (int i = 1; i <= 8; ++i) builder.MeshVertex(i) = TVector{};
    const uint16_t faces[6][4] = {{1, 2, 3, 4}, {4, 3, 5, 6}, {6, 5, 7, 8}, {8, 7, 2, 1}, {1, 4, 6, 8}, {7, 5, 3, 2}};
    for (int f = 0; f < 6; ++f) builder.MeshFace(f + 1) = {faces[f][0], faces[f][1], faces[f][2], faces[f][3]};
    builder.AddMesh(8, 6, 12);
}

bool HasProxy(const TFaceStore& outline)
{
    if (outline.ObjectCount < 1) return false;
    int faces = 0;
    for (const TFaceNode* face = outline.Object(1).ModelFaces; face && faces < 6; face = face->Next) ++faces;
    return faces >= 6;
}

} // namespace

void TNavigator::Setup(float ModelSize)
{
    StepX = ModelSize / 10;
    StepY = ModelSize / 10;
    StepZ = ModelSize / 15;

    // The model's origin never comes nearer the eye than 50 plus its largest absolute bound.
    NearLimit = std::fabs(Model.MaxX);
    for (float bound : {Model.MinX, Model.MaxY, Model.MinY, Model.MaxZ, Model.MinZ})
        if (std::fabs(bound) > NearLimit) NearLimit = std::fabs(bound);
    NearLimit = -50 - NearLimit;

    if (!HasProxy(Outline)) BuildProxyObject(Outline);
    Outline.TranslateX = Model.TranslateX;
    Outline.TranslateY = Model.TranslateY;
    Outline.TranslateZ = Model.TranslateZ;
    WriteProxyBox();
}

void TNavigator::WriteProxyBox()
{
    const float Mx = Model.MaxX, My = Model.MaxY, Mz = Model.MaxZ;
    const float mx = Model.MinX, my = Model.MinY, mz = Model.MinZ;
    const TVector box[6][4] = {
        {{Mx, My, mz}, {Mx, My, Mz}, {Mx, my, Mz}, {Mx, my, mz}}, // x = MaxX
        {{Mx, my, mz}, {Mx, my, Mz}, {mx, my, Mz}, {mx, my, mz}}, // y = MinY
        {{mx, my, mz}, {mx, my, Mz}, {mx, My, Mz}, {mx, My, mz}}, // x = MinX
        {{mx, My, mz}, {mx, My, Mz}, {Mx, My, Mz}, {Mx, My, mz}}, // y = MaxY
        {{Mx, My, mz}, {Mx, my, mz}, {mx, my, mz}, {mx, My, mz}}, // z = MinZ
        {{mx, My, Mz}, {mx, my, Mz}, {Mx, my, Mz}, {Mx, My, Mz}}, // z = MaxZ
    };
    TFaceNode* face = Outline.Object(1).ModelFaces;
    for (int f = 0; f < 6 && face; ++f, face = face->Next)
        for (int c = 0; c < 4; ++c) face->Corners[c] = box[f][c];
}

void TNavigator::SetRepeat(bool on)
{
    RepeatOn = on;
    Host.SetRepeatTimer(on);
}

void TNavigator::SetSettleTimer(bool on, int intervalMs)
{
    SettleOn = on;
    SettleMs = intervalMs;
    Host.SetSettleTimer(on, intervalMs);
}

void TNavigator::ButtonDown(TDirection Direction, bool Ctrl)
{
    if (Direction >= dirTurnDown) BigTurnRequested = Ctrl ? 1 : 0;
    Step(Direction);
}

void TNavigator::ButtonUp() { SetRepeat(false); }

void TNavigator::RepeatTick() { Step(HeldDirection); }

void TNavigator::Step(TDirection Direction)
{
    if (!RepeatOn) HeldDirection = Direction;
    SetRepeat(true);
    TakeStep(HeldDirection);
}

void TNavigator::Nudge(TDirection Direction) { TakeStep(Direction); }

void TNavigator::TakeStep(TDirection direction)
{
    const bool live = LiveNow();
    if (!live) Host.SetWireframe(true);
    float angle = SmallStep;
    if (BigTurnRequested == 1) {
        angle = LargeStep;
        BigTurnRequested = 0;
    }

    // The box takes the step at once (and is drawn unless the model is); the model's share is counted.
    auto turn = [&](int axis, float a) {
        Host.RotateScene(Outline, axis == 0, axis == 1, axis == 2, axis == 0 ? a : 0, axis == 1 ? a : 0,
                         axis == 2 ? a : 0);
        if (!live) Host.DrawStore(Outline, false);
        (axis == 0 ? TurnX : axis == 1 ? TurnY : TurnZ) += a;
        (axis == 0 ? TurnedX : axis == 1 ? TurnedY : TurnedZ) = 1;
    };
    auto move = [&](float& translate, float step, int32_t& moves, int32_t count) {
        translate += step;
        // Forward movement stops at the near limit (the step is still counted).
        if (direction == dirMoveForward && translate > NearLimit) translate = NearLimit;
        if (!live) Host.DrawStore(Outline, false);
        moves += count;
    };
    switch (direction) {
    case dirMoveUp: move(Outline.TranslateY, StepY, MovesY, 1); break;
    case dirMoveDown: move(Outline.TranslateY, -StepY, MovesY, -1); break;
    case dirMoveLeft: move(Outline.TranslateX, StepX, MovesX, 1); break;
    case dirMoveRight: move(Outline.TranslateX, -StepX, MovesX, -1); break;
    case dirMoveForward: move(Outline.TranslateZ, StepZ, MovesZ, 1); break;
    case dirMoveBack: move(Outline.TranslateZ, -StepZ, MovesZ, -1); break;
    case dirTurnDown: turn(0, angle); break;
    case dirTurnUp: turn(0, -angle); break;
    case dirTurnLeft: turn(1, angle); break;
    case dirTurnRight: turn(1, -angle); break;
    case dirRollUp: turn(2, angle); break;
    case dirRollDown: turn(2, -angle); break;
    }
    if (live) RequestModelWork(mwLive);
    else BoxShown = true;
    SetSettleTimer(false, SettleMs);
    SetSettleTimer(true, SettleMs);
}

void TNavigator::SettleTimeout()
{
    SetSettleTimer(false, 2000);
    RenderNow();
}

void TNavigator::RenderRequested()
{
    if (!SettleOn) return;
    SetSettleTimer(false, 2500);
    RenderNow();
}

void TNavigator::RenderNow() { RequestModelWork(mwFinal); }

void TNavigator::ReturnHome() { RequestModelWork(mwHome); }

void TNavigator::FitToWindow(int Width, int Height, int Focal)
{
    FitWidth = Width;
    FitHeight = Height;
    FitFocal = Focal;
    RequestModelWork(mwFit);
}

void TNavigator::StandUpright(int Width, int Height, int Focal)
{
    FitWidth = Width;
    FitHeight = Height;
    FitFocal = Focal;
    RequestModelWork(mwUpright | mwFit);
}

void TNavigator::KeepSizeInPicture(int OldWidth, int OldHeight, int Width, int Height)
{
    const int before = std::min(OldWidth, OldHeight), after = std::min(Width, Height);
    if (before <= 0 || after <= 0 || before == after) return;
    PendingScale = PendingScale * after / before;
    RequestModelWork(mwScale);
}

void TNavigator::ScaleNow()
{
    // Every point's depth divided by the growth scales the picture about its middle
    // (exactly for the model's origin, nearly for a model small beside its distance).
    float z = static_cast<float>(Model.TranslateZ / PendingScale);
    PendingScale = 1;
    if (z > NearLimit) z = NearLimit;
    Model.TranslateZ = Outline.TranslateZ = z;
}

void TNavigator::ModelFrameDone(double Milliseconds)
{
    LastModelFrameMs = Milliseconds;
    RequestModelWork(0);
}

void TNavigator::RequestModelWork(uint8_t work)
{
    WaitingWork |= work;
    if (WaitingWork == 0 || Host.ModelInUse()) return;
    const uint8_t now = WaitingWork;
    WaitingWork = 0;
    RunModelWork(now);
}

void TNavigator::RunModelWork(uint8_t work)
{
    const bool counted = TurnedX || TurnedY || TurnedZ || MovesX || MovesY || MovesZ;
    // A final render with nothing counted and the model on screen would draw the same picture again.
    if (work == mwFinal && !counted && !BoxShown) return;
    if (work & mwHome) {
        ClearCounts();
        RestoreFirstPose();
        Setup(PrepareView(Model).ModelSize);
    } else {
        ApplyCountedSteps(work == mwFinal);
        if (work & mwScale) ScaleNow();
        if (work & mwUpright) UprightNow();
        if (work & mwFit) FitNow();
    }
    Host.SetWireframe(false);
    BoxShown = false;
    // Live frames come without the wait cursor, as the box did.
    Host.DrawStore(Model, work != mwLive);
}

void TNavigator::ApplyCountedSteps(bool drawBoxAtLimit)
{
    if (TurnedX || TurnedY || TurnedZ) {
        KeepFirstPose();
        Host.RotateScene(Model, TurnedX != 0, TurnedY != 0, TurnedZ != 0, TurnX, TurnY, TurnZ);
    }
    // Steps times step length in extended precision, rounded once to a Single.
    Model.TranslateX = static_cast<float>(Model.TranslateX + static_cast<long double>(MovesX) * StepX);
    Model.TranslateY = static_cast<float>(Model.TranslateY + static_cast<long double>(MovesY) * StepY);
    Model.TranslateZ = static_cast<float>(Model.TranslateZ + static_cast<long double>(MovesZ) * StepZ);
    if (Model.TranslateZ > NearLimit) {
        Model.TranslateZ = NearLimit;
        Outline.TranslateZ = NearLimit;
        if (drawBoxAtLimit) Host.DrawStore(Outline, false);
    }
    ClearCounts();
}

void TNavigator::ClearCounts()
{
    TurnedX = TurnedY = TurnedZ = 0;
    MovesX = MovesY = MovesZ = 0;
    TurnX = TurnY = TurnZ = 0;
}

void TNavigator::KeepFirstPose()
{
    if (FirstPoseKept) return;
    FirstPose.clear();
    FirstPose.reserve(static_cast<size_t>(CountFaces(Model)) * 4);
    for (int k = 1; k <= Model.ObjectCount; ++k)
        for (const TFaceNode* face = Model.Object(k).ModelFaces; face; face = face->Next)
            FirstPose.insert(FirstPose.end(), std::begin(face->Corners), std::end(face->Corners));
    FirstPoseKept = true;
}

void TNavigator::RestoreFirstPose()
{
    if (!FirstPoseKept) return;
    auto corner = FirstPose.cbegin();
    for (int k = 1; k <= Model.ObjectCount; ++k)
        for (TFaceNode* face = Model.Object(k).ModelFaces; face && corner != FirstPose.cend(); face = face->Next)
            for (TVector& c : face->Corners) c = *corner++;
}

void TNavigator::UprightNow()
{
    const int turn = UprightTurn(Model);
    if (turn == 0) return;
    KeepFirstPose(); // Home returns to the pose before the turn
    TurnQuarters(Model, turn);
    TurnQuarters(Outline, turn); // the box stays around the model
}

void TNavigator::FitNow()
{
    const std::optional<TFitPlacement> place = FitPlacement(Model, FitWidth, FitHeight, FitFocal, 1.1L);
    if (!place) return;
    Model.TranslateX = place->X;
    Model.TranslateY = place->Y;
    Model.TranslateZ = place->Z;
    // A small model may come nearer than the near limit, as long as every turn
    // keeps it in front of the eye; later steps may then come as near as this.
    const float turnLimit = static_cast<float>(-1.05L * place->Radius - 1e-3L);
    const float limit = std::max(NearLimit, turnLimit);
    if (Model.TranslateZ > limit) Model.TranslateZ = limit;
    NearLimit = std::max(NearLimit, Model.TranslateZ);
    Outline.TranslateX = Model.TranslateX;
    Outline.TranslateY = Model.TranslateY;
    Outline.TranslateZ = Model.TranslateZ;
}

float TNavigator::PixelsPerMoveStep(int Focal) const
{
    const long double distance = std::max(std::fabs(static_cast<long double>(Outline.TranslateZ)), 1e-3L);
    return static_cast<float>(std::clamp(Focal * StepX / distance, 4.0L, 100.0L));
}

void TNavigator::BeginView()
{
    std::vector<TVector>().swap(FirstPose);
    FirstPoseKept = false;
    LastModelFrameMs = 0;
    WaitingWork = 0;
    BoxShown = false;
}

void TNavigator::Reset()
{
    SetRepeat(false);
    SetSettleTimer(false, 1000);
    ClearCounts();
    BigTurnRequested = 0;
    WaitingWork = 0;
}

} // namespace verdel
