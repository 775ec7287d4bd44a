// The main frame's generator windows: at most one of each kind.
#include "gui/main_form.h"
#include "gui/generators/mutator_dialog.h"
#include "gui/generators/random_dialog.h"

namespace verdel {

void TMainForm::CreateRandomDialog()
{
    if (RandomDialogOpen) return;
    RandomDialogOpen = true;
    UpdateMenuItems();
    auto* dialog = new TRandom1;
    AddChild(dialog);
    dialog->FormCreate();
}

void TMainForm::CreateMutateDialog()
{
    if (MutatorDialogOpen) return;
    MutatorDialogOpen = true;
    UpdateMenuItems();
    auto* dialog = new TMutator;
    AddChild(dialog);
    dialog->FormCreate();
}

} // namespace verdel
