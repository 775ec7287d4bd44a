#include "engine/generation.h"

#include "engine/production.h"
#include "engine/text_number.h"

namespace verdel {

const char* const TableFullMessage = "Model exceeds 30000 objects; the rest of the production string was not drawn";

TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State, TFaceStore& Store, TRandomSource& Random)
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
    if (!BuildProduction(State, Prompt)) {
        result.Status = TGenerationStatus::Refused;
        return result;
    }

    result.ProductionLength = static_cast<int>(State.Production.size());
    result.Seed = Random.Seed;
    for (const std::string& line : Lines) result.DefinitionText += line + "\n";

    // Every turtle run starts from an empty store, so nothing of a failed run remains.
    FreeScene(Store);
    TMeshBuilder builder(Store);
    builder.Reset();
    TTurtleResult turtle;
    Prompt.BeginBusy("Generating Output from Production String");
    try {
        turtle = InterpretProduction(State, Settings, builder, Random);
    } catch (const EConvertError& error) {
        Prompt.EndBusy();
        return fail(TGenerationStatus::TurtleFailed, error.what());
    }
    ComputeBounds(Store);
    Prompt.EndBusy();

    result.ObjectCount = turtle.ObjectCount;
    if (turtle.TableFull) {
        fail(TGenerationStatus::Done, TableFullMessage);
        result.TableFull = true;
    }
    return result;
}

} // namespace verdel
