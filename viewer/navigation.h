// Turning and moving the model with held buttons, on a bounding-box proxy.
#pragma once

#include <cstdint>

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
};

// The navigation state machine: idle, moving (a button held: one proxy step
// every 75 ms), pending (released: the final render follows one settle
// interval after the last step) and the final render, which applies the
// counted steps and turns to the model in one go.
class TNavigator {
public:
    // The small and the Ctrl first rotation steps: 2.5 and a hair below 45 degrees.
    static const float SmallStep;
    static const float LargeStep;

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

    // One proxy step in Direction (the held direction while the repeat timer runs).
    void Step(TDirection Direction);
    // Applies the counted turns and steps to the model and draws it.
    void RenderNow();

    // Back to idle without drawing: timers off, nothing counted (the viewer closed).
    void Reset();

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

private:
    void SetRepeat(bool on);
    void SetSettleTimer(bool on, int intervalMs);
    void WriteProxyBox();

    TFaceStore& Model;
    TFaceStore& Outline;
    TNavigationHost& Host;
    bool RepeatOn = false;
    bool SettleOn = false;
    int SettleMs = 1000;
};

} // namespace verdel
