// A main frame on a program folder of its own, with the models handed to the
// viewer and the windows' waits recorded: no test waits on the clock.
#pragma once

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "gui/shared/app_state.h"
#include "support/recording_frame.h"

namespace verdel::test {

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

    // A fresh folder with the textures and a settings file, so the frame starts without a message.
    void SetUp()
    {
        Folder = std::make_unique<QTemporaryDir>();
        Path = Folder->path() + "/";
        Definitions = Path + "vdfiles/";
        PrepareProgramFolder(Path);
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

    // Opens the frame's window of type T through Create and returns it.
    template <class T> T* Open(TMainForm& frame, void (TMainForm::*create)())
    {
        (frame.*create)();
        return frame.findChild<T*>();
    }

    // Clicks a button; the launches count the waits from here.
    void Click(QPushButton* button)
    {
        Waited = 0;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static QByteArray ReadFile(const QString& name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(name);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    }
    // Text as a file with CR LF line ends.
    static QByteArray FileText(const QString& text) { return QString(text).replace("\n", "\r\n").toLatin1() + "\r\n"; }

private:
    std::unique_ptr<QTemporaryDir> Folder;
    int Waited = 0;
};

} // namespace verdel::test
