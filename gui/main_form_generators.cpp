// The main frame's generator windows: at most one of each kind.
#include <QMdiArea>
#include <QMdiSubWindow>

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

void TMainForm::CreateMutateDialog() { CreateGeneratorDialog<TMutator>(); }

} // namespace verdel
