// What the window tests share: models generated as a window hands them to the
// viewer, the viewer waited for on its state, files read and written whole, and
// a main frame on a program folder of its own, with the models handed to the
// viewer and the windows' waits recorded: no test waits on the clock.
#pragma once

#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "engine/generation.h"
#include "gui/editor/editor_window.h"
#include "gui/shared/app_state.h"
#include "gui/viewer/frame_pipeline.h"
#include "gui/viewer/viewer_window.h"
#include "support/files.h"
#include "support/recording_frame.h"
#include "support/scripted_prompt.h"

namespace verdel::test {

// Lines generated with Settings, every question answered Yes, named FileName.
inline TModel GeneratedModel(const TLines& Lines, const TSolidSettings& Settings = {}, const std::string& FileName = {})
{
    TYesPrompt prompt;
    TModel model;
    TRandomSource random;
    GenerateModel(Lines, Settings, prompt, random, TCancelToken(), model);
    model.FileName = FileName;
    return model;
}

// Whether the viewer shows its last frame and has no other to draw.
inline bool Idle(TViewForm& View)
{
    return !View.Frames->Active() && View.StatusPanels[0]->text() == "Rendering Complete";
}

// Shows the viewer and waits, on its state, until its frame is drawn.
inline bool ShownAndIdle(TViewForm& View)
{
    View.show();
    return QTest::qWaitForWindowExposed(&View) && QTest::qWaitFor([&] { return Idle(View); }, 10000);
}

inline QByteArray ReadFile(const QString& Name) { return QByteArray::fromStdString(ReadWholeFile(Name.toStdString())); }
inline void WriteFile(const QString& Name, const QByteArray& Bytes)
{
    WriteWholeFile(Name.toStdString(), Bytes.toStdString());
}

// Text as a file with CR LF line ends.
inline QByteArray FileText(const QString& Text) { return QString(Text).replace("\n", "\r\n").toLatin1() + "\r\n"; }

// Text typed into an editor: its memo is then modified, as by the user.
inline void Type(TMDIChild* Editor, const QString& Text)
{
    Editor->Memo1->setPlainText(Text);
    Editor->Memo1->document()->setModified(true);
}

// Puts the layer textures into the program folder Path (ending in "/"), and
// with Settings a settings file, so a main frame starts there without a message.
inline void PrepareProgramFolder(const QString& Path, bool Settings = true)
{
    QDir().mkpath(Path + "textures");
    for (const QString& name : QDir(VERDEL_DATA "/textures").entryList({"*.jpg"}))
        QFile::copy(VERDEL_DATA "/textures/" + name, Path + "textures/" + name);
    QFile ini(Path + "Verdel5.ini");
    if (Settings && ini.open(QIODevice::WriteOnly)) ini.write("[Startup]\r\nCylindersInsteadofBlocks=1\r\n");
}

class TDialogFixture {
public:
    // What a window looked like when it opened the viewer.
    struct TLaunch {
        bool WatchedEnabled; // the watched button's state
        int WaitedMs;        // milliseconds of waits asked for since the last Click
    };

    QString Path;        // the program folder, ending in "/"
    QString Definitions; // its vdfiles/ folder
    std::vector<TLaunch> Launches;
    QPushButton* Watched = nullptr;
    // Runs inside the next wait, as what a user does while a window waits.
    std::function<void()> DuringWait;

    // A fresh folder with the textures and, with Settings, a settings file, so
    // the frame starts without a message.
    void SetUp(bool Settings = true)
    {
        Folder = std::make_unique<QTemporaryDir>();
        Path = Folder->path() + "/";
        Definitions = Path + "vdfiles/";
        PrepareProgramFolder(Path, Settings);
        ResetAppState();
        Launches.clear();
        Watched = nullptr;
        AppState.DelayHandler = [this](int milliseconds) {
            Waited += milliseconds;
            if (auto during = std::exchange(DuringWait, nullptr)) during();
            QCoreApplication::processEvents();
        };
    }
    void TearDown() { ResetAppState(); }

    // A frame that records each model it is handed and how the watched button looked then.
    std::unique_ptr<TRecordingFrame> MakeFrame()
    {
        auto frame = std::make_unique<TRecordingFrame>(Path);
        frame->OnShow = [this](const TModel&) { Launches.push_back({Watched && Watched->isEnabled(), Waited}); };
        return frame;
    }

    // Clicks a button; the launches count the waits from here.
    void Click(QPushButton* button)
    {
        Waited = 0;
        QTest::mouseClick(button, Qt::LeftButton);
    }

private:
    std::unique_ptr<QTemporaryDir> Folder;
    int Waited = 0;
};

} // namespace verdel::test
