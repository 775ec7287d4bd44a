#include "engine/generation.h"

#include "engine/production.h"
#include "engine/text_number.h"

namespace verdel {

std::string ExtendedFaultReport(const TDefinitionState& State, const std::string& LineBreak)
{
    return "Please Check Input Data" + LineBreak + "Error Evaluating Rule" + LineBreak + State.FaultText;
}

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
        return fail(TGenerationStatus::TurtleFailed, error.what());
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

} // namespace verdel
