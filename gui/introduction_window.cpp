#include "gui/introduction_window.h"

#include <QCheckBox>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cmath>

#include "app/program_folders.h"
#include "app/settings.h"
#include "gui/rich_text.h"
#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/workspace.h"

namespace verdel {

TStartUpForm::TStartUpForm(QWidget* Parent) : QWidget(Parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName("StartUpForm");
    setWindowTitle("Introduction ");

    auto* panel2 = new QWidget(this);
    panel2->setObjectName("Panel2");
    StartupMemo = new QTextEdit(panel2);
    StartupMemo->setObjectName("StartupMemo");
    StartupMemo->setReadOnly(true);
    StartupMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* memoLayout = new QVBoxLayout(panel2);
    memoLayout->setContentsMargins(0, 0, 0, 0);
    memoLayout->addWidget(StartupMemo);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    Panel1->setFixedHeight(41);
    StartUpCheckBox = new QCheckBox("Don't Show This Message in Future", Panel1);
    StartUpCheckBox->setObjectName("StartUpCheckBox");
    StartUpCheckBox->move(10, 12);
    CloseButton = new QPushButton("Close", Panel1);
    CloseButton->setObjectName("CloseButton");
    CloseButton->setFixedSize(75, 25);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panel2);
    layout->addWidget(Panel1);

    connect(CloseButton, &QPushButton::clicked, this, &TStartUpForm::CloseButtonClick);
}

void TStartUpForm::FormCreate()
{
    QWidget* frame = parentWidget() ? parentWidget() : this;
    frame->setMinimumSize(350, 250);
    frame->resize(550, 350);
    if (AppState.Workspace) {
        const QSize usable = AppState.Workspace->UsableClientSize();
        frame->move(static_cast<int>(std::nearbyint((usable.width() - 550) / 2.0)),
                    static_cast<int>(std::nearbyint((usable.height() - 350) / 2.0)));
    }
    LoadRichTextFile(*StartupMemo, QString::fromStdString(AppState.ProgramFolders.DataFolder) + "Verdel5.rtf");
}

void TStartUpForm::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    CloseButton->move(Panel1->width() - CloseButton->width() - 10, 8);
}

void TStartUpForm::CloseButtonClick()
{
    if (StartUpCheckBox->isChecked()) {
        AppState.Settings.ShowStartText = false;
        try {
            SaveSettings(AppState.Settings, AppState.ProgramFolders.SettingsFolder);
        } catch (const std::exception& error) {
            Dialogs().Error(error.what());
        }
    }
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->close();
    else close();
}

} // namespace verdel
