#include "engine/model.h"

#include <utility>

#include "engine/growth.h"
#include "engine/production_warnings.h"

namespace verdel {

void ExchangeModels(TModel& Shown, TModel& Fresh)
{
    ExchangeModels(*Shown.Store, *Fresh.Store);
    std::swap(Shown.Source, Fresh.Source);
    std::swap(Shown.FileName, Fresh.FileName);
    std::swap(Shown.ObjectCount, Fresh.ObjectCount);
    std::swap(Shown.ProductionLength, Fresh.ProductionLength);
    std::swap(Shown.LeftOutObjects, Fresh.LeftOutObjects);
    std::swap(Shown.DefinitionText, Fresh.DefinitionText);
    std::swap(Shown.Seed, Fresh.Seed);
    std::swap(Shown.Solids, Fresh.Solids);
    std::swap(Shown.Warnings, Fresh.Warnings);
}

void ClearModel(TModel& Model)
{
    FreeScene(*Model.Store);
    Model.Source = TModelSource::Generation;
    Model.FileName.clear();
    Model.ObjectCount = Model.ProductionLength = Model.LeftOutObjects = 0;
    Model.DefinitionText.clear();
    Model.Seed = 0;
    Model.Solids = {};
    Model.Warnings.clear();
}

std::string EmptyModelNote(const TModel& Model)
{
    if (Model.Store->ObjectCount > 0) return {};
    if (Model.LeftOutObjects > 0) return "No objects: the coordinates of every object are not finite numbers";
    if (Model.Source == TModelSource::File) return "No objects: the file has nothing to draw";
    // A Q, W or R whose setting is off would have drawn: the note names the setting.
    std::string switchedOff;
    for (const std::string& warning : Model.Warnings)
        if (IsSwitchedOffWarning(warning)) switchedOff += (switchedOff.empty() ? "" : "; ") + warning;
    if (!switchedOff.empty()) return "No objects: " + switchedOff;
    return "No objects: the production has no drawing commands";
}

} // namespace verdel
