// The main frame's generator windows: at most one of each kind.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>

#include "gui/editor/definition_text_edit.h"
#include "gui/editor/editor_window.h"
#include "gui/generators/mutator_dialog.h"
#include "gui/generators/random_dialog.h"
#include "gui/main_form.h"

namespace verdel {

template <class T> bool TMainForm::ChildOpen() const
{
    // A closed dialog's window may wait for its deletion: only those not hidden count.
    for (const QMdiSubWindow* window : MdiArea->subWindowList())
        if (qobject_cast<T*>(window->widget()) && !window->isHidden()) return true;
    return false;
}

template <class T> void TMainForm::CreateGeneratorDialog()
{
    if (ChildOpen<T>()) return;
    auto* dialog = new T;
    AddChild(dialog);
    dialog->FormCreate();
    UpdateMenuItems();
}

bool TMainForm::RandomDialogOpen() const { return ChildOpen<TRandom1>(); }

bool TMainForm::MutatorDialogOpen() const { return ChildOpen<TMutator>(); }

void TMainForm::CreateRandomDialog() { CreateGeneratorDialog<TRandom1>(); }

void TMainForm::CreateMutateDialog()
{
    // The Mutator starts from the definition in front, when there is one.
    const TMDIChild* editor = ActiveEditor();
    if (ChildOpen<TMutator>()) return;
    CreateGeneratorDialog<TMutator>();
    if (!editor) return;
    for (QMdiSubWindow* window : MdiArea->subWindowList())
        if (auto* mutator = qobject_cast<TMutator*>(window->widget())) {
            mutator->Memo1->setPlainText(editor->Memo1->toPlainText());
            mutator->setWindowTitle(editor->Caption());
        }
}

} // namespace verdel
