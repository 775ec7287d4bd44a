// Turning and moving the model with held buttons: live, or on a bounding-box proxy.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/face_store.h"

namespace verdel {

// The twelve navigation buttons' directions.
enum TDirection : uint8_t {
    dirMoveUp,
    dirMoveDown,
    dirMoveLeft,
    dirMoveRight,
    dirMoveForward,
    dirMoveBack,
    dirTurnDown,
    dirTurnUp,
    dirTurnLeft,
    dirTurnRight,
    dirRollUp,
    dirRollDown,
};

// What the navigator asks of the viewer window.
class TNavigationHost {
public:
    virtual ~TNavigationHost() = default;
    // Draws Store once: full model with the wait cursor, or the proxy without it.
    virtual void DrawStore(TFaceStore& Store, bool ShowWait) = 0;
    // Switches the renderer to wireframe while moving, back to the user's mode after.
    virtual void SetWireframe(bool Wireframe) = 0;
    // Turns every ModelFaces corner of Store about the chosen axes (z, then x, then y).
    virtual void RotateScene(TFaceStore& Store, bool AboutX, bool AboutY, bool AboutZ, float AngleX, float AngleY,
                             float AngleZ) = 0;
    // The repeat timer (75 ms, one step a tick while a button is held) and the
    // settle timer (the pause before the final render); enabling the settle
    // timer starts its full interval again from now.
    virtual void SetRepeatTimer(bool Enabled) = 0;
    virtual void SetSettleTimer(bool Enabled, int IntervalMs) = 0;
    // Whether a frame of the model is being drawn now: its vertices must not
    // change until the host reports the frame with ModelFrameDone.
    virtual bool ModelInUse() { return false; }
};

// The navigation state machine: idle, moving (a button held: one step every
// 75 ms), pending (released: the final render follows one settle interval
// after the last step) and the final render, which applies the counted steps
// and turns to the model in one go. A step takes the proxy box at once and is
// counted for the model; with live frames the counted steps also go to the
// model at once and the model is drawn, else the box is drawn in wireframe.
// Whatever changes the model's vertices waits while the host draws the model
// and runs when it reports that frame finished.
class TNavigator {
public:
    // The small and the Ctrl first rotation steps: 2.5 and a hair below 45 degrees.
    static const float SmallStep;
    static const float LargeStep;
    // A step draws the whole model while the last model frame took at most this long.
    static constexpr double LiveFrameLimitMs = 40;

    TNavigator(TFaceStore& model, TFaceStore& outline, TNavigationHost& host)
            : Model(model), Outline(outline), Host(host)
    {}

    // After the model's view was prepared: step sizes, the near limit, the
    // proxy's translation and its six faces on the model's bounding box.
    // Builds the proxy object when the outline store has none with six faces.
    void Setup(float ModelSize);

    // A navigation button pressed; Ctrl makes a rotation's first step 45 degrees.
    void ButtonDown(TDirection Direction, bool Ctrl);
    // A navigation button released.
    void ButtonUp();
    // One step in the held direction (the repeat timer's tick).
    void RepeatTick();
    // The pause after the last step ran out.
    void SettleTimeout();
    // "Render": only while a final render is pending, at once.
    void RenderRequested();

    // One step in Direction (the held direction while the repeat timer runs).
    void Step(TDirection Direction);
    // One step in Direction without the repeat timer (a mouse drag or the wheel).
    void Nudge(TDirection Direction);
    // Applies the counted turns and steps to the model and draws it.
    void RenderNow();

    // Home: the model's vertices and translation as the view first showed them.
    void ReturnHome();
    // Fit: the model centred and as near as the whole of it fits a window of
    // Width x Height pixels drawn with focal length Focal. A small model may
    // come nearer than the near limit (which then follows it), never so near
    // that a turn could bring a corner behind the eye.
    void FitToWindow(int Width, int Height, int Focal);
    // Upright: the model turned about the screen's horizontal axis so that it
    // grows up the screen (StandUpright), then fitted as FitToWindow does.
    void StandUpright(int Width, int Height, int Focal);
    // The picture went from OldWidth x OldHeight to Width x Height pixels: the
    // model comes nearer or goes farther so that it keeps its size relative to
    // the picture (its smaller side), instead of being cropped or lost in it.
    void KeepSizeInPicture(int OldWidth, int OldHeight, int Width, int Height);

    // The host finished drawing the model in Milliseconds: the time decides
    // whether the next steps are live; work that waited for the model runs now.
    void ModelFrameDone(double Milliseconds);
    // Whether a step now draws the whole model rather than the box.
    bool LiveNow() const { return LiveNavigation && LastModelFrameMs <= LiveFrameLimitMs; }

    // A new model on view: forgets the first pose and the last frame's time.
    void BeginView();
    // Back to idle without drawing: timers off, nothing counted, no waiting work (the viewer closed).
    void Reset();

    // Pixels of mouse drag per movement step: one step moves the model's
    // middle about that far on the screen, at least 4 and at most 100.
    float PixelsPerMoveStep(int Focal) const;

    bool RepeatTimerOn() const { return RepeatOn; }
    bool SettleTimerOn() const { return SettleOn; }
    int SettleIntervalMs() const { return SettleMs; }

    float StepX = 0, StepY = 0, StepZ = 0;
    float NearLimit = 0;
    int32_t MovesX = 0, MovesY = 0, MovesZ = 0;
    float TurnX = 0, TurnY = 0, TurnZ = 0;
    int32_t TurnedX = 0, TurnedY = 0, TurnedZ = 0;
    TDirection HeldDirection = dirMoveUp;
    uint8_t BigTurnRequested = 0;
    // The "Live navigation" setting (the viewer sets it from the user's settings).
    bool LiveNavigation = false;
    // How long the last frame of the model took; 0 before the first.
    double LastModelFrameMs = 0;

private:
    // Work on the model's vertices, run at once or after the model frame being drawn.
    enum TModelWork : uint8_t { mwLive = 1, mwFinal = 2, mwFit = 4, mwHome = 8, mwScale = 16, mwUpright = 32 };

    void SetRepeat(bool on);
    void SetSettleTimer(bool on, int intervalMs);
    void WriteProxyBox();
    void TakeStep(TDirection direction);
    void RequestModelWork(uint8_t work);
    void RunModelWork(uint8_t work);
    void ApplyCountedSteps(bool drawBoxAtLimit);
    void ClearCounts();
    void KeepFirstPose();
    void RestoreFirstPose();
    void FitNow();
    void UprightNow();
    void ScaleNow();

    TFaceStore& Model;
    TFaceStore& Outline;
    TNavigationHost& Host;
    bool RepeatOn = false;
    bool SettleOn = false;
    int SettleMs = 1000;
    uint8_t WaitingWork = 0;
    bool BoxShown = false; // the last picture drawn is the box, not the model
    int FitWidth = 0, FitHeight = 0, FitFocal = 0;
    long double PendingScale = 1; // the picture's growth since the model last took it into account
    // Every ModelFaces corner before the first turn of this view; empty until then.
    std::vector<TVector> FirstPose;
    bool FirstPoseKept = false;
};

} // namespace verdel
