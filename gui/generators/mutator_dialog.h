// The "Mutator" window: a definition in an editable memo, changed at random.
#pragma once

#include <QWidget>
#include <array>

#include "generators/mutator.h"

class QHBoxLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSlider;

namespace verdel {

// A child window of the frame that mutates a definition and runs it into the viewer.
class TMutator : public QWidget {
    Q_OBJECT
public:
    // Builds the controls and seeds the shared random source from the time of day.
    explicit TMutator(QWidget* Parent = nullptr);

    // Size and place the child window in the frame's usable area; "Undo Last" disabled.
    void FormCreate();

    // "Load File": a definition file from the definition folder into the memo; its name becomes the caption.
    void LoadFileButtonClick();
    // "Mutate": change the memo's text at random; the labels of the kinds that happened turn red.
    void MutateButtonClick();
    // "View": wait 250 ms, then generate the memo's text and view it.
    void ViewButtonClick();
    // "Save File": write the memo to a definition file.
    void SaveFileButtonClick();
    // "Undo Last": the memo as it was before the last Mutate.
    void RejectButtonClick();
    // "Scramble": random track-bar positions.
    void ScrambleButtonClick();
    // "Close": close the window.
    void CloseButtonClick();

    // The mutator behind the window.
    TDefinitionMutator Mutator;
    // The file last loaded or saved; empty for a typed text.
    QString FileName;

    QPlainTextEdit* Memo1;
    QSlider* RecursionTrackBar;
    QSlider* AngleTrackBar;
    QSlider* ThicknessTrackBar;
    QSlider* DeletionsTrackBar;
    QSlider* AdditionsTrackBar;
    QSlider* SubstitutionsTrackBar;
    QSlider* RadiationTrackBar;
    QLabel* RecursionLabel;
    QLabel* AngleLabel;
    QLabel* ThicknessLabel;
    QLabel* DeletionsLabel;
    QLabel* AdditionsLabel;
    QLabel* SubstitutionsLabel;
    QLabel* Label1;
    QPushButton* ScrambleButton;
    QPushButton* LoadFileButton;
    QPushButton* MutateButton;
    QPushButton* ViewButton;
    QPushButton* SaveFileButton;
    QPushButton* RejectButton;
    QPushButton* CloseButton;
    // The seed the source held when the last Mutate began.
    QLabel* SeedLabel;

protected:
    void closeEvent(QCloseEvent* Event) override;

private:
    QHBoxLayout* CreateBars();
    QHBoxLayout* CreateButtons();
    // The controls into the mutator, and the mutator's state back into them.
    void ReadControls();
    void ShowMemo();
    void ShowBars();
    void ShowLabels();

    std::array<QSlider*, MutatorBarCount> Bars;
    std::array<QLabel*, MutationKindCount> KindLabels;
    bool Busy = false;
};

} // namespace verdel
