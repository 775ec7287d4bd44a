#include "engine/generation.h"

#include <algorithm>
#include <memory>

#include "engine/production.h"
#include "engine/production_warnings.h"
#include "engine/text_number.h"

namespace verdel {

std::string ExtendedFaultReport(const TDefinitionState& State, const std::string& LineBreak)
{
    return "Please Check Input Data" + LineBreak + "Error Evaluating Rule" + LineBreak + State.FaultText;
}

namespace {

// Where a turtle parameter that is not a number stands in the definition:
// rewriting copies parameters as they are (a rule's "," read as "."), so it is
// the first "(Text)" of the axiom, a rule or the end line. Sets the result's
// line, column and length, and adds them to Message; nothing when not found.
void LocateParameter(const TLines& Lines, const std::string& Text, TGenerationResult& Result, std::string& Message)
{
    int valueLines = 0;
    for (size_t i = 0; i < Lines.size(); ++i) {
        const std::string& line = Lines[i];
        if (line.empty() || line[0] == '#' || ++valueLines < 4) continue;
        for (size_t open = line.find('('); open != std::string::npos; open = line.find('(', open + 1)) {
            const size_t close = line.find(')', open + 1);
            const std::string parameter = line.substr(open + 1, close == std::string::npos ? close : close - open - 1);
            std::string read = parameter; // as a rule's text holds it
            std::replace(read.begin(), read.end(), ',', '.');
            if (parameter != Text && read != Text) continue;
            Result.FaultLine = static_cast<int>(i) + 1;
            Result.FaultColumn = static_cast<int>(open) + 2;
            Result.FaultLength = static_cast<int>(Text.size());
            Message += "\r\nLine " + std::to_string(Result.FaultLine) + ", column " +
                       std::to_string(Result.FaultColumn) + ": the parameter \"(" + Text + ")\" is not a number";
            return;
        }
        if (line[0] == '@') return;
    }
}

} // namespace

const std::string TableFullMessage =
    "Model exceeds " + std::to_string(MaxObjects) + " objects; the rest of the production string was not drawn";

TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State, TFaceStore& Store, TRandomSource& Random)
{
    const TCancelToken never;
    return GenerateModel(Lines, Settings, Prompt, State, Store, Random, never);
}

TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State, TFaceStore& Store, TRandomSource& Random,
                                const TCancelToken& Cancel)
{
    TGenerationResult result;
    auto fail = [&](TGenerationStatus status, const std::string& message) {
        result.Status = status;
        result.Message = message;
        Prompt.Message(message);
        return result;
    };

    // The fixed message, and below it the line at fault and what was expected there.
    const TValidation validation = ValidateDefinition(Lines);
    if (!validation.Ok) {
        result.FaultLine = validation.Line;
        // An extended definition's fault also has its column: the editor selects the character there.
        result.FaultColumn = validation.Column;
        result.FaultLength = validation.Column > 0 ? 1 : 0;
        return fail(TGenerationStatus::Invalid, validation.Report("\r\n"));
    }

    ParseDefinition(State, Lines);
    // Rewriting an extended definition may draw, so the seed that repeats a model is the one before it.
    result.Seed = Random.Seed;
    const TRewriteStatus production = BuildProduction(State, Prompt, Cancel, Random);
    if (production == TRewriteStatus::Failed) {
        result.FaultLine = State.FaultLine;
        return fail(TGenerationStatus::Invalid, ExtendedFaultReport(State, "\r\n"));
    }
    if (production != TRewriteStatus::Done) {
        result.FaultLine = State.FaultLine; // the iterations line of an extended definition refused for its work
        result.Status =
            production == TRewriteStatus::Cancelled ? TGenerationStatus::Cancelled : TGenerationStatus::Refused;
        return result;
    }

    result.ProductionLength = static_cast<int>(State.Production.size());
    for (const std::string& line : Lines) result.DefinitionText += line + "\n";

    // Every turtle run starts from an empty store, so nothing of a failed run remains.
    FreeScene(Store);
    TMeshBuilder builder(Store);
    builder.Reset();
    TTurtleResult turtle;
    Prompt.BeginBusy("Generating Output from Production String");
    try {
        turtle = InterpretProduction(State, Settings, builder, Random, Cancel);
    } catch (const EConvertError& error) {
        Prompt.EndBusy();
        std::string message = error.what();
        LocateParameter(Lines, error.Text, result, message);
        return fail(TGenerationStatus::TurtleFailed, message);
    } catch (...) {
        Prompt.EndBusy(); // a fault thrown through the turtle (out of memory) ends the busy phase too
        throw;
    }
    if (turtle.Cancelled) {
        FreeScene(Store);
        Prompt.EndBusy();
        result.Status = TGenerationStatus::Cancelled;
        return result;
    }
    ComputeBounds(Store);
    Prompt.EndBusy();

    result.ObjectCount = turtle.ObjectCount;
    result.LeftOutObjects = turtle.LeftOutObjects;
    if (turtle.TableFull) {
        fail(TGenerationStatus::Done, TableFullMessage);
        result.TableFull = true;
    }
    return result;
}

TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TRandomSource& Random, const TCancelToken& Cancel, TModel& Model)
{
    const auto state = std::make_unique<TDefinitionState>();
    const TGenerationResult result = GenerateModel(Lines, Settings, Prompt, *state, *Model.Store, Random, Cancel);
    if (result.Status != TGenerationStatus::Done) return result;
    Model.Source = TModelSource::Generation;
    Model.ObjectCount = result.ObjectCount;
    Model.ProductionLength = result.ProductionLength;
    Model.LeftOutObjects = result.LeftOutObjects;
    Model.DefinitionText = result.DefinitionText;
    Model.Seed = result.Seed;
    Model.Solids = Settings;
    Model.Warnings = ProductionWarnings(state->Production, Settings);
    return result;
}

} // namespace verdel
