// The "Random Generator" window: track bars, locks and the composed definition.
#pragma once

#include <QWidget>
#include <array>

#include "generators/random_generator.h"

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;

namespace verdel {

// A child window of the frame that composes random definitions and runs them into the viewer.
class TRandom1 : public QWidget {
    Q_OBJECT
public:
    // Builds the controls and seeds the shared random source from the time of day.
    explicit TRandom1(QWidget* Parent = nullptr);

    // Size and place the child window in the frame's usable area.
    void FormCreate();

    // "Go": compose a definition, show it, wait 250 ms, then generate and view it as "Random01.vd".
    void BB_GoClick();
    // "Randomize": new random track-bar positions; the memo stays.
    void Button2Click();
    // "Save": write the memo to a definition file.
    void SaveBtnClick();
    // "Edit": a new definition editor on a copy of the memo.
    void EditBtnClick();
    // "Exit": close the window.
    void Button1Click();

    // A lock box enables its edit exactly while it is checked.
    void IterationsCheckBoxClick();
    void AngleCheckBoxClick();
    void ThicknessCheckBoxClick();
    void RulesCheckBoxClick();
    void AxiomCheckBoxClick();

    // Focus leaves a numeric edit: out of range, a message and the edit back at its low bound.
    void IterationsEditExit();
    void AngleEditExit();
    void ThicknessEditExit();
    void RulesEditExit();

    // The generator behind the window.
    TRandomGenerator Generator;

    QCheckBox* IterationsCheckBox;
    QCheckBox* AngleCheckBox;
    QCheckBox* ThicknessCheckBox;
    QCheckBox* RulesCheckBox;
    QCheckBox* AxiomCheckBox;
    QLineEdit* IterationsEdit;
    QLineEdit* AngleEdit;
    QLineEdit* ThicknessEdit;
    QLineEdit* RulesEdit;
    QLineEdit* AxiomEdit;
    QLabel* Label11;
    QLabel* Label12;
    QTabWidget* PageControl1;
    QSlider* TB_Rules;
    QSlider* TB_RuleLength;
    QSlider* TB_Interaction;
    QSlider* TB_Draw;
    QSlider* TB_Move;
    QSlider* TB_Orient;
    QSlider* TB_Color;
    QSlider* TB_Branch;
    QSlider* TB_Polys;
    QPlainTextEdit* Memo1;
    QPushButton* EditBtn;
    QPushButton* SaveBtn;
    QPushButton* Button2;
    QPushButton* BB_Go;
    QPushButton* Button1;
    // The seed the source held when the last Go began.
    QLabel* SeedLabel;

protected:
    void closeEvent(QCloseEvent* Event) override;
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void CreateLocks(QWidget* area);
    void CreatePages(QWidget* area);
    QHBoxLayout* CreateButtons();
    // The controls into the generator, and the generator's state back into them.
    void ReadControls();
    void ShowLock(TRandomLock lock);
    void ShowLocks();
    void ShowBars();
    void LockCheckBoxClick(TRandomLock lock);
    void EditExit(TRandomLock lock);

    std::array<QCheckBox*, RandomLockCount> LockBoxes;
    std::array<QLineEdit*, RandomLockCount> LockEdits;
    std::array<QSlider*, RandomBarCount> Bars;
    QGridLayout* LockGrid = nullptr;
    bool Busy = false;
};

} // namespace verdel
