// The generation sequence: definition text to a filled, measured face store.
#pragma once

#include <string>

#include "engine/definition.h"
#include "engine/face_store.h"
#include "engine/model.h"
#include "engine/prompt.h"
#include "engine/random_source.h"
#include "engine/text_lines.h"
#include "engine/turtle.h"

namespace verdel {

// Shown when the turtle stops at the object table's limit.
extern const std::string TableFullMessage;

enum class TGenerationStatus {
    Done,         // the store holds the model (possibly cut at the table's limit)
    Invalid,      // the text failed validation, or an extended definition's expression failed while rewriting
    Refused,      // production too long, or the output-size question answered No
    TurtleFailed, // a turtle parameter was not a number
    Cancelled,    // the cancel token stopped rewriting or the turtle
};

struct TGenerationResult {
    TGenerationStatus Status = TGenerationStatus::Done;
    std::string Message; // what the user was told, empty when nothing
    int FaultLine = 0;   // the line at fault, counted from 1 (0 when none): an invalid text's, a parameter's,
                         // or the rule whose expression failed while rewriting
    int FaultColumn = 0; // a parameter that is not a number: its first character's column, from 1 (0 when none)
    int FaultLength = 0; // and its length
    bool TableFull = false;
    int ObjectCount = 0;        // objects the turtle made (shown by the viewer)
    int ProductionLength = 0;   // characters of the production string
    std::string DefinitionText; // the definition's lines, each ended by LF
    uint32_t Seed = 0;          // the random source's seed when rewriting began
    int LeftOutObjects = 0;     // objects left out of the model: a coordinate was not a finite number
};

// The message of an extended definition's failed rewriting: the fixed
// message, then "Line N, step S: ..." (State.FaultText), on lines joined by LineBreak.
std::string ExtendedFaultReport(const TDefinitionState& State, const std::string& LineBreak);

// Validates, parses, rewrites, runs the turtle into an emptied Store and
// computes its bounds; messages and the output-size question go through
// Prompt, the turtle's "Generating ..." phase through its busy calls.
// The result also carries the object count, the production length, the
// definition text and the seed, which mesh exports record.
TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State, TFaceStore& Store, TRandomSource& Random);

// The same, stoppable through Cancel, which also receives the progress of
// rewriting and of the turtle. Cancelled during rewriting, Store is untouched
// and nothing is said; cancelled during the turtle, Store is left empty and
// LastObjectCount unchanged.
TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State, TFaceStore& Store, TRandomSource& Random,
                                const TCancelToken& Cancel);

// The same into Model, with a definition state of its own: when the result is
// Done, Model holds the faces and what the generation reported, the settings
// and the production's warnings (its file name is the caller's to set).
TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TRandomSource& Random, const TCancelToken& Cancel, TModel& Model);

} // namespace verdel
