// The help window: the program's HTML help pages with Contents, Back and Forward.
#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace verdel {

// The contents page of the help folder.
inline constexpr const char* HelpContentsPage = "index.html";

// A separate window browsing the pages of the help folder.
class THelpWindow : public QWidget {
    Q_OBJECT

public:
    // Builds the hidden window for the pages in HelpFolder.
    explicit THelpWindow(const QString& HelpFolder, QWidget* Parent = nullptr);

    // Shows and raises the window at the contents page; returns false, with a
    // note in the window, when the contents page is missing.
    bool ShowContents();

    // Opens a page of the help folder by its file name ("commands.html");
    // returns false, with a note in the window, when the page is missing.
    bool ShowPage(const QString& PageName);

    // Goes to the contents page.
    void ContentsBtnClick();

    // Goes back to the page seen before.
    void BackBtnClick();

    // Goes forward again after Back.
    void ForwardBtnClick();

    QPushButton* ContentsBtn = nullptr;
    QPushButton* BackBtn = nullptr;
    QPushButton* ForwardBtn = nullptr;
    QTextBrowser* HelpBrowser = nullptr;

private:
    void ShowMissingPage(const QString& Path);
    void UpdateCaption();

    QString Folder;
};

} // namespace verdel
