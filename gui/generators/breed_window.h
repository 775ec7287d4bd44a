// The breeding gallery window: the parent and eight children bred from it in a
// 3 x 3 grid of live thumbnails, the lineage of picks, Back and Forward.
#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "engine/turtle.h"
#include "generators/breeding.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace verdel {

class TBreedCell;

// The breeding gallery window ("Breed").
class TBreedWindow : public QWidget {
    Q_OBJECT
public:
    explicit TBreedWindow(QWidget* Parent = nullptr);

    // Starts a gallery from Start with the gallery seed Seed and the Mutator's
    // bars Bars; the cells draw their models with Solids.
    void StartGallery(const TLines& Start, uint32_t Seed, const TMutatorBars& Bars, const TSolidSettings& Solids);

    // A child clicked: it becomes the parent of a new generation, crossed with
    // the marked second parent when there is one. Ctrl marks (or unmarks) the
    // child as the second parent instead.
    void CellClicked(int Number, bool Ctrl);
    void Back_BtnClick();
    void Forward_BtnClick();
    // A new gallery from the same start with the seed typed in the seed box and the Mutator's current bars.
    void Restart_BtnClick();
    // A new gallery from a definition file.
    void Load_BtnClick();
    // Writes the chosen definition (the parent on show) to a file.
    void Save_BtnClick();
    // Opens a cell's definition in a new editor, or its model in the viewer.
    void EditCell(int Number);
    void ViewCell(int Number);

    // The text and seed of cell Number (0 the parent).
    const TLines& CellText(int Number) const;
    uint32_t CellSeed(int Number) const;
    // Waits until every cell is drawn (tests).
    void FinishRendering();

    const TBreedingGallery* Gallery() const { return Breeding.get(); }
    std::array<TBreedCell*, 9> Cells{}; // by cell number, 0 the parent
    QLineEdit* SeedEdit;
    QLabel* LineageLabel;
    QLabel* BarsLabel;
    QLabel* HintLabel;
    QPushButton* Back_Btn;
    QPushButton* Forward_Btn;
    QPushButton* Restart_Btn;
    QPushButton* Load_Btn;
    QPushButton* Save_Btn;
    QPushButton* Close_Btn;

private:
    QWidget* CreateGrid();
    QLayout* CreateButtons();
    void ShowGeneration();
    void UpdateControls();
    // How many children of the generation on show are the parent unchanged.
    int UnchangedChildren() const;

    std::unique_ptr<TBreedingGallery> Breeding;
    TLines Start;
    TSolidSettings Solids;
    int Marked = 0; // the child marked as second parent, 0 for none
};

// The Mutator window's bar positions when one is open among Frame's children, else the defaults.
TMutatorBars CurrentMutatorBars(QWidget* Frame);

// Adds "Breed..." to Menu: it opens the frame's one gallery window (or brings it to the front),
// starting from the active editor's definition when there is one.
QAction* AddBreedItem(QMenu* Menu, QWidget* Frame);

} // namespace verdel
