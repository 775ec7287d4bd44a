#include "gui/viewer/growth_bar.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>

#include "engine/growth.h"
#include "engine/text_number.h"
#include "gui/shared/dialogs.h"

namespace verdel {

// A model made off the GUI thread for one slider position.
struct TGrowthFrame {
    uint64_t Epoch = 0;
    float Value = 0;
    std::unique_ptr<TFaceStore> Store = std::make_unique<TFaceStore>();
    TOrientationProbe Probe; // of the model as generated, before any turn
    bool Drawn = false;
    int ObjectCount = 0;
    std::string Reason;
    std::exception_ptr Fault; // out of memory, or another fault the generation cannot report itself
};

namespace {

// Growth frames answer Yes to the output-size question (the full model was
// accepted already) and keep their messages as the frame's reason.
class TGrowthPrompt : public TPrompt {
public:
    void Message(const std::string& Text) override { Said = Text; }
    TAnswer Confirm(const std::string&, bool) override { return TAnswer::Yes; }
    std::string Said;
};

// At most four significant digits; from ten thousand on with a thousands suffix
// (12.35k, 1.235M, 1.235G...) rather than an exponent, so the label stays short.
QString ValueText(float value)
{
    double shown = value;
    const char* const suffixes[] = {"", "k", "M", "G", "T", "P", "E"};
    size_t suffix = 0;
    while (std::fabs(shown) >= 1e4 && suffix + 1 < std::size(suffixes)) {
        shown /= 1000;
        ++suffix;
    }
    return QString::number(shown, 'g', 4) + suffixes[suffix];
}

// The label's text, cut with "..." where it is wider than the label; the whole text in the tooltip.
void SetLabelText(QLabel& label, const QString& text)
{
    label.setText(label.fontMetrics().elidedText(text, Qt::ElideRight, label.width()));
    label.setToolTip(text);
}

} // namespace

TGrowthBar::TGrowthBar(TFaceStore& shown, QWidget* Parent) : QWidget(Parent), Shown(shown)
{
    setObjectName("GrowthBar");
    setAutoFillBackground(true); // the viewer's picture panel behind it is black
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Play_Btn = new QPushButton("Play", this);
    Play_Btn->setObjectName("Play_Btn");
    Play_Btn->setFixedWidth(60);
    Growth_Slider = new QSlider(Qt::Horizontal, this);
    Growth_Slider->setObjectName("Growth_Slider");
    Growth_Slider->setPageStep(PositionsPerIteration);
    GrowthLabel = new QLabel(this);
    GrowthLabel->setObjectName("GrowthLabel");
    GrowthLabel->setFixedWidth(230); // a fixed width keeps the slider from jumping as the text changes
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(Play_Btn);
    layout->addWidget(Growth_Slider, 1);
    layout->addWidget(GrowthLabel);

    PlayTimer = new QTimer(this);
    PlayTimer->setObjectName("PlayTimer");
    PlayTimer->setInterval(PlayTickMs);
    connect(PlayTimer, &QTimer::timeout, this, &TGrowthBar::PlayTick);
    connect(Play_Btn, &QPushButton::clicked, this, &TGrowthBar::Play_BtnClick);
    connect(Growth_Slider, &QSlider::valueChanged, this, &TGrowthBar::Request);
    hide();
}

TGrowthBar::~TGrowthBar() { Detach(); }

void TGrowthBar::ShowFor(const TModel& Model)
{
    if (Model.Source != TModelSource::Generation) {
        Detach();
        return;
    }
    Attach(SplitLines(Model.DefinitionText), Model.Seed, Model.Solids);
}

void TGrowthBar::Attach(const TLines& NewLines, uint32_t NewSeed, const TSolidSettings& NewSolids)
{
    Detach();
    const std::optional<float> value = IterationValue(NewLines);
    if (!value || !(*value > 0) || !std::isfinite(*value)) return;
    Lines = NewLines;
    Seed = NewSeed;
    Solids = NewSolids;
    FullValue = *value;
    Positions = static_cast<int>(std::clamp(std::lround(FullValue * PositionsPerIteration), 1L, 100000L));
    Probe.Sample(Shown);
    const QSignalBlocker blocker(Growth_Slider);
    Growth_Slider->setRange(0, Positions);
    Growth_Slider->setValue(Positions);
    SetLabelText(*GrowthLabel, QString("Growth %1 of %1").arg(ValueText(FullValue)));
    show();
}

void TGrowthBar::Detach()
{
    ++Epoch;
    SetPlaying(false);
    Worker.Drop();
    Worker.WaitIdle();
    InFlight = false;
    Wanted.reset();
    hide();
}

float TGrowthBar::ValueAt(int Position) const
{
    if (Position >= Positions) return FullValue;
    return ToSingle(static_cast<long double>(FullValue) * std::max(Position, 0) / Positions);
}

void TGrowthBar::Request(int Position)
{
    Wanted = Position;
    if (!InFlight) Dispatch();
}

void TGrowthBar::Dispatch()
{
    if (!Wanted) return;
    auto frame = std::make_shared<TGrowthFrame>();
    frame->Epoch = Epoch;
    frame->Value = ValueAt(*Wanted);
    Wanted.reset();
    InFlight = true;
    Worker.Post([this, frame, lines = Lines, seed = Seed, solids = Solids] {
        TGrowthPrompt prompt;
        TRandomSource random;
        random.Seed = seed;
        try {
            auto state = std::make_unique<TDefinitionState>();
            const TGenerationResult result =
                GenerateGrowth(lines, frame->Value, solids, prompt, *state, *frame->Store, random);
            frame->Drawn = result.Status == TGenerationStatus::Done;
            frame->ObjectCount = result.ObjectCount;
            frame->Reason = prompt.Said;
            if (frame->Drawn) frame->Probe.Sample(*frame->Store);
        } catch (...) {
            frame->Drawn = false;
            frame->Fault = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, frame] { FrameReady(frame); }, Qt::QueuedConnection);
    });
}

void TGrowthBar::FrameReady(const std::shared_ptr<TGrowthFrame>& Frame)
{
    if (Frame->Epoch != Epoch) return;
    InFlight = false;
    // The next position is made while this one is drawn.
    Dispatch();
    const QString value = ValueText(Frame->Value);
    if (Frame->Fault) Frame->Reason = FaultText(Frame->Fault);
    if (!Frame->Drawn) {
        SetLabelText(*GrowthLabel, QString("Growth %1: %2").arg(value, QString::fromStdString(Frame->Reason)));
        return;
    }
    // The viewer turned the shown model in place; the new one is turned alike.
    ApplyRotation(*Frame->Store, Probe.Recover(Shown));
    ExchangeModels(Shown, *Frame->Store);
    if (Retire) Retire(std::move(Frame->Store));
    Probe = Frame->Probe;
    SetLabelText(*GrowthLabel,
                 QString("Growth %1 of %2, %3 objects").arg(value, ValueText(FullValue)).arg(Frame->ObjectCount));
    if (Redraw) Redraw();
}

void TGrowthBar::FinishPending()
{
    while (InFlight) {
        Worker.WaitIdle();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void TGrowthBar::SetPlaying(bool Playing)
{
    if (Playing) PlayTimer->start();
    else PlayTimer->stop();
    Play_Btn->setText(Playing ? "Pause" : "Play");
}

void TGrowthBar::Play_BtnClick()
{
    if (PlayTimer->isActive()) {
        SetPlaying(false);
        return;
    }
    if (Growth_Slider->value() >= Positions) Growth_Slider->setValue(0);
    SetPlaying(true);
}

void TGrowthBar::PlayTick()
{
    const int step = std::max(1, PositionsPerIteration * PlayTickMs / PlayMsPerIteration);
    const int next = std::min(Growth_Slider->value() + step, Positions);
    Growth_Slider->setValue(next);
    if (next >= Positions) SetPlaying(false);
}

} // namespace verdel
