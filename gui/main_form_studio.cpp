// The studio: the viewer and the Parameters panel docked beside the editors,
// the model following the active editor, and live preview while typing.
#include <QAction>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QStringList>

#include "app/settings.h"
#include "gui/editor/definition_text_edit.h"
#include "gui/editor/editor_window.h"
#include "gui/editor/parameters_panel.h"
#include "gui/live_preview.h"
#include "gui/main_form.h"
#include "gui/shared/app_state.h"
#include "gui/viewer/viewer_window.h"

namespace verdel {

namespace {

// The warnings of a model in one line.
QString WarningsOf(const TModel& Model)
{
    QStringList warnings;
    for (const std::string& warning : Model.Warnings) warnings << QString::fromStdString(warning);
    return warnings.join("; ");
}

// What a failed live generation says in one line, with the line at fault.
QString FaultLineText(const TLiveOutcome& Outcome)
{
    // The fixed heading of a longer message goes; the fault and the line at fault stay.
    QStringList parts = QString::fromStdString(Outcome.Message).split(QRegularExpression("\r?\n"), Qt::SkipEmptyParts);
    if (parts.size() > 2) parts.removeFirst();
    QString text = parts.join(QString::fromUtf8(" \u2014 "));
    const int line = Outcome.Result.FaultLine;
    if (line > 0 && !text.contains(QString("Line %1").arg(line))) text = QString("Line %1: %2").arg(line).arg(text);
    return text;
}

} // namespace

void TMainForm::CreateStudio()
{
    LivePreview = new TLivePreview(this);
    LivePreview->Finished = [this](TMDIChild& Editor, TLiveOutcome& Outcome) { LiveFinished(Editor, Outcome); };
    ParametersPanel = new TParametersPanel;
    ParametersDock = new QDockWidget("Parameters", this);
    ParametersDock->setObjectName("ParametersDock");
    ParametersDock->setWidget(ParametersPanel);
    addDockWidget(Qt::RightDockWidgetArea, ParametersDock);
    connect(MdiArea, &QMdiArea::subWindowActivated, this, [this] { EditorActivated(); });
    // A slider's values are drawn while it moves, without waiting for a pause.
    connect(ParametersPanel, &TParametersPanel::Written, this, [this] {
        if (ViewerDock) LivePreview->GenerateNow(CurrentEditor());
    });
}

void TMainForm::DockViewer(TViewForm* Viewer)
{
    ViewForm = Viewer;
    ViewerDock = new QDockWidget("Viewer", this);
    ViewerDock->setObjectName("ViewerDock");
    Viewer->SetDocked([this] { ViewerDock->hide(); },
                      [this] {
                          ViewerDock->show();
                          ViewerDock->raise();
                      });
    ViewerDock->setWidget(Viewer);
    Viewer->GiveBack = [this] { HandBackShownModel(); };
    addDockWidget(Qt::RightDockWidgetArea, ViewerDock);
    splitDockWidget(ViewerDock, ParametersDock, Qt::Vertical);
    resizeDocks({ViewerDock}, {width() / 2}, Qt::Horizontal);
    resizeDocks({ViewerDock, ParametersDock}, {height() * 3 / 4, height() / 4}, Qt::Vertical);
    ViewMenu->insertAction(ParametersDock->toggleViewAction(), ViewerDock->toggleViewAction());
    // The docks' places and the split as the user left them.
    const std::string& docks = AppState.Settings.Layout.Docks;
    if (!docks.empty()) restoreState(QByteArray::fromBase64(QByteArray::fromStdString(docks)));
}

TMDIChild* TMainForm::CurrentEditor() const
{
    QMdiSubWindow* window = MdiArea->currentSubWindow();
    return window ? qobject_cast<TMDIChild*>(window->widget()) : nullptr;
}

TMDIChild* TMainForm::EditorOf(const void* Key) const
{
    if (!Key) return nullptr;
    for (TMDIChild* editor : Editors())
        if (editor == Key) return editor;
    return nullptr;
}

void TMainForm::EditorActivated()
{
    TMDIChild* editor = CurrentEditor();
    if (!editor) return; // a dock took the focus: the editor last in front stays
    ParametersPanel->Attach(editor->Memo1);
    if (!ViewForm || ViewForm->Owner() == editor) return;
    if (!editor->HasModel() && !EditorOf(ViewForm->Owner())) return; // a model file stays on view
    HandBackShownModel();
    if (!editor->HasModel()) return;
    TModel model = std::move(editor->Model);
    editor->Model = TModel{};
    ViewForm->TakeModel(std::move(model), editor->Pose, editor);
    ViewForm->DrawNow();
    ShowWarning(WarningsOf(ViewForm->Model));
}

void TMainForm::HandBackShownModel()
{
    if (TMDIChild* shown = EditorOf(ViewForm->Owner())) ViewForm->HandBack(shown->Model, shown->Pose);
}

void TMainForm::GiveEditorModel(TMDIChild& Editor, TModel Model, bool KeepView)
{
    if (!ViewForm) return;
    const bool shown = ViewForm->Owner() == &Editor;
    TModelPose pose;
    if (shown || CurrentEditor() == &Editor) {
        if (KeepView) pose = shown ? ViewForm->CurrentPose() : Editor.Pose;
        if (!shown) HandBackShownModel();
        if (pose.Kept) ApplyRotation(*Model.Store, pose.Turn);
        ViewForm->Discard(std::move(Editor.Model));
        Editor.Model = TModel{};
        ViewForm->TakeModel(std::move(Model), pose, &Editor);
        ViewForm->DrawNow();
        return;
    }
    // Another editor is in front: the model waits for this one's turn.
    if (KeepView && Editor.HasModel()) pose = Editor.Pose;
    if (pose.Kept) ApplyRotation(*Model.Store, pose.Turn);
    ViewForm->Discard(std::move(Editor.Model));
    Editor.Model = std::move(Model);
    Editor.Pose = pose;
}

void TMainForm::ShowEditorModel(TModel Model, const void* Editor)
{
    TMDIChild* editor = EditorOf(Editor);
    if (!editor || !ViewForm || !ViewForm->Docked()) {
        ShowModel(std::move(Model));
        return;
    }
    GiveEditorModel(*editor, std::move(Model), false);
    ViewerDock->show();
    ViewerDock->raise();
}

void TMainForm::EditorClosing(const void* Editor, TModel Model)
{
    if (!ViewForm) return;
    ViewForm->Discard(std::move(Model));
    if (ViewForm->Owner() == Editor) ViewForm->ForgetOwner(); // its model stays on view
}

void TMainForm::LiveFinished(TMDIChild& Editor, TLiveOutcome& Outcome)
{
    const bool front = CurrentEditor() == &Editor;
    if (Outcome.Result.Status != TGenerationStatus::Done) {
        // The last good model stays; the editor marks the line and the status line says why.
        const QString text = FaultLineText(Outcome);
        Editor.Memo1->ShowFault(Outcome.Result.FaultLine, Outcome.Result.FaultColumn, Outcome.Result.FaultLength, text);
        if (front) ShowWarning(text);
        return;
    }
    Editor.Memo1->ClearFault();
    Outcome.Model.FileName = Editor.FileName.toStdString();
    if (front) ShowWarning(WarningsOf(Outcome.Model));
    GiveEditorModel(Editor, std::move(Outcome.Model), true);
}

void TMainForm::LivePreviewItemClick()
{
    const bool on = LivePreviewItem->isChecked();
    AppState.Settings.Layout.LivePreview = on;
    LivePreview->SetEnabled(on);
    try {
        SaveSettings(AppState.Settings, AppState.ProgramFolders.SettingsFolder);
    } catch (const std::exception&) {
        // The choice holds for this run.
    }
    if (!on) return;
    if (TMDIChild* editor = CurrentEditor()) {
        editor->GeneratedText.clear();
        LivePreview->Edited(editor);
    }
}

} // namespace verdel
