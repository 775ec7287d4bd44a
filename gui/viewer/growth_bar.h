// Growth playback under the viewer's picture: a slider from 0 to the
// definition's iteration value and Play/Pause. Each position regenerates the
// model at that value off the GUI thread and shows it with the view held still.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "engine/model.h"
#include "engine/text_lines.h"
#include "engine/turtle.h"
#include "viewer/latest_job_thread.h"
#include "viewer/view_orientation.h"

class QLabel;
class QPushButton;
class QSlider;
class QTimer;

namespace verdel {

struct TGrowthFrame;

// The viewer's growth bar (GrowthBar): Growth_Slider, Play_Btn and GrowthLabel.
class TGrowthBar : public QWidget {
    Q_OBJECT
public:
    // Slider positions per iteration, and how long playback takes for one iteration.
    static constexpr int PositionsPerIteration = 100;
    static constexpr int PlayTickMs = 40;
    static constexpr int PlayMsPerIteration = 1500;

    // A bar over the model in Shown (the viewer's store); hidden until ShowFor.
    explicit TGrowthBar(TFaceStore& Shown, QWidget* Parent = nullptr);
    ~TGrowthBar() override;

    // Shows the bar for a model just generated (its text, seed and drawing
    // settings) at its full value; hides it for a model file or a definition
    // whose iteration value is not above 0.
    void ShowFor(const TModel& Model);
    // Shows the bar for Lines, generated with Seed and Solids into the shown store.
    void Attach(const TLines& Lines, uint32_t Seed, const TSolidSettings& Solids);
    // Stops playback, drops what is under way and hides the bar.
    void Detach();

    // The iteration value of slider position Position.
    float ValueAt(int Position) const;
    // Called after the shown model was replaced, to draw it.
    std::function<void()> Redraw;
    // Takes the model just replaced, which a frame under way may still be
    // drawing; without it the model is freed at once.
    std::function<void(std::unique_ptr<TFaceStore>)> Retire;

    // Play/Pause; a playback at the end starts again from 0.
    void Play_BtnClick();
    // One step of playback (the play timer's tick).
    void PlayTick();
    // Waits for the frames under way and shows the last one (tests, and before closing).
    void FinishPending();

    QSlider* Growth_Slider;
    QPushButton* Play_Btn;
    QLabel* GrowthLabel;
    QTimer* PlayTimer;

private:
    void Request(int Position);
    void Dispatch();
    void FrameReady(const std::shared_ptr<TGrowthFrame>& Frame);
    void SetPlaying(bool Playing);

    TFaceStore& Shown;
    TLines Lines;
    uint32_t Seed = 0;
    TSolidSettings Solids;
    float FullValue = 0;
    int Positions = 1;
    TOrientationProbe Probe;   // corners of the shown model before the viewer turned it
    uint64_t Epoch = 0;        // frames of an earlier attachment are ignored
    bool InFlight = false;     // a frame is being made: at most one at a time
    std::optional<int> Wanted; // the newest position asked for meanwhile
    TLatestJobThread Worker;
};

} // namespace verdel
