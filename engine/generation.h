// The generation sequence: definition text to a filled, measured face store.
#pragma once

#include <string>

#include "engine/definition.h"
#include "engine/face_store.h"
#include "engine/prompt.h"
#include "engine/random_source.h"
#include "engine/text_lines.h"
#include "engine/turtle.h"

namespace verdel {

// Objects of the last turtle run (shown by the viewer).
extern int LastObjectCount;

// Path of the definition last generated; gives exports their default name.
extern std::string CurrentFileName;

// The text of the definition last generated, lines ended by LF, and the random
// source's seed when its generation began: mesh exports record both.
extern std::string LastDefinitionText;
extern uint32_t LastGenerationSeed;

// Shown when the turtle stops at the object table's limit.
extern const char* const TableFullMessage;

enum class TGenerationStatus {
    Done,         // the store holds the model (possibly cut at the table's limit)
    Invalid,      // the text failed validation
    Refused,      // production too long, or the output-size question answered No
    TurtleFailed, // a turtle parameter was not a number
    Cancelled,    // the cancel token stopped rewriting or the turtle
};

struct TGenerationResult {
    TGenerationStatus Status = TGenerationStatus::Done;
    std::string Message; // what the user was told, empty when nothing
    bool TableFull = false;
};

// Validates, parses, rewrites, runs the turtle into an emptied Store and
// computes its bounds; messages and the output-size question go through
// Prompt, the turtle's "Generating ..." phase through its busy calls.
// Sets LastObjectCount, ProductionLength, LastDefinitionText and LastGenerationSeed.
TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State = DefinitionState, TFaceStore& Store = FaceStore,
                                TRandomSource& Random = RandomSource);

// The same, stoppable through Cancel, which also receives the progress of
// rewriting and of the turtle. Cancelled during rewriting, Store is untouched
// and nothing is said; cancelled during the turtle, Store is left empty and
// LastObjectCount unchanged.
TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State, TFaceStore& Store, TRandomSource& Random,
                                const TCancelToken& Cancel);

} // namespace verdel
