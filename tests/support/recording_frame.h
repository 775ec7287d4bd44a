// A main frame that keeps the models it is asked to show instead of opening
// the viewer, so window tests see every hand-off without a modal window.
#pragma once

#include <functional>
#include <vector>

#include "gui/main_form.h"

namespace verdel::test {

class TRecordingFrame : public TMainForm {
public:
    using TMainForm::TMainForm;

    void ShowModel(TModel Model) override
    {
        if (OnShow) OnShow(Model);
        Shown.push_back(std::move(Model));
    }

    std::vector<TModel> Shown;                 // every model handed over, in order
    std::function<void(const TModel&)> OnShow; // runs as a model is handed over
};

} // namespace verdel::test
