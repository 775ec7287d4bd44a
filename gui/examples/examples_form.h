// The examples gallery: the bundled definitions in their groups, each a
// thumbnail drawn off the GUI thread; at a first start also the welcome page.
#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "viewer/example_gallery.h"

class QGridLayout;
class QLabel;
class QScrollArea;
class QToolButton;

namespace verdel {

// The gallery window ("Examples"). Choosing a picture asks for a copy of its
// definition (ExampleChosen); the window opens nothing itself.
class TExamplesForm : public QWidget {
    Q_OBJECT
public:
    // The examples of Folder (the bundled vdfiles/, ending in "/"), drawn with Look.
    TExamplesForm(const std::string& Folder, const TThumbnailLook& Look, QWidget* Parent = nullptr);
    ~TExamplesForm() override;

    // Shows the welcome above the examples, with Notes (the start's messages,
    // lines ended by CR LF or LF) and the settings file's path.
    void ShowWelcome(const QString& Notes, const QString& SettingsFile);
    // Waits until every thumbnail is drawn and shown (tests).
    void FinishDrawing();
    // The tile of the example in File, or nullptr.
    QToolButton* Tile(const QString& File) const;
    int DrawnCount() const { return Drawn; }

    QLabel* WelcomeLabel;
    QLabel* SettingsNote;

signals:
    // The example in File was chosen.
    void ExampleChosen(const QString& File);

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    QWidget* CreateGroup(const TExampleGroup& Group);
    void ThumbnailReady(const std::shared_ptr<TThumbnailResult>& Result);
    // Places the tiles in as many columns as the width takes.
    void ArrangeTiles();

    QScrollArea* Scroll;
    QWidget* WelcomeBox;
    std::vector<QGridLayout*> Grids;
    std::vector<std::vector<QToolButton*>> GroupTiles;
    std::vector<QToolButton*> Tiles; // in the jobs' order
    int Columns = 0;
    int Drawn = 0;
    std::unique_ptr<TThumbnailJobs> Jobs;
};

} // namespace verdel
