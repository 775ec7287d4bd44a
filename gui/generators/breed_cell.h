// One cell of the breeding gallery: a live thumbnail drawn off the GUI thread
// by the cell's own renderer, or the reason it could not be drawn.
#pragma once

#include <QFrame>
#include <QImage>
#include <cstdint>
#include <memory>

#include "engine/text_lines.h"
#include "engine/turtle.h"
#include "viewer/latest_job_thread.h"

class QLabel;
class QToolButton;

namespace verdel {

struct TCellPicture;
struct TThumbnailCell;

// One cell of the breeding gallery ("Parent", "Child 1" .. "Child 8").
class TBreedCell : public QFrame {
    Q_OBJECT
public:
    // The thumbnail's size in pixels.
    static constexpr int ThumbnailWidth = 200;
    static constexpr int ThumbnailHeight = 150;

    // Cell Number: 0 the parent, 1..8 the children.
    explicit TBreedCell(int Number, QWidget* Parent = nullptr);
    ~TBreedCell() override;

    int Number() const { return CellNumber; }

    // Shows Lines, drawn with its random source at Seed; what was being drawn before is dropped.
    void ShowDefinition(const TLines& Lines, uint32_t Seed, const TSolidSettings& Solids);
    // Marks the cell as the second parent (a frame in another colour).
    void SetMarked(bool Marked);
    // Waits until the thumbnail is drawn and shows it (tests).
    void FinishPending();

    // Whether the thumbnail on show is a drawn model; the reason when not.
    bool Drawn() const { return IsDrawn; }
    QString Reason() const { return ReasonText; }
    // The picture on show (empty while drawing or after a failure).
    QImage Picture() const { return Shown; }

    QLabel* PictureLabel;
    QLabel* CaptionLabel;
    QToolButton* Edit_Btn;
    QToolButton* View_Btn;

signals:
    // The picture was clicked, with Ctrl held or not.
    void Clicked(int Number, bool Ctrl);
    void EditRequested(int Number);
    void ViewRequested(int Number);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void PictureReady(const std::shared_ptr<TCellPicture>& Picture);
    void UpdateFrame();

    int CellNumber;
    uint64_t Request = 0; // pictures of an older request are dropped
    bool Pending = false;
    bool IsDrawn = false;
    bool Marked = false;
    QString ReasonText;
    QImage Shown;
    // The cell's own renderer and records, used only on its worker thread.
    std::unique_ptr<TThumbnailCell> Thumbnail;
    TLatestJobThread Worker;
};

} // namespace verdel
