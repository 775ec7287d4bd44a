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
extern const std::string TableFullMessage;

enum class TGenerationStatus {
    Done,         // the store holds the model (possibly cut at the table's limit)
    Invalid,      // the text failed validation
    Refused,      // production too long, or the output-size question answered No
    TurtleFailed, // a turtle parameter was not a number
};

struct TGenerationResult {
    TGenerationStatus Status = TGenerationStatus::Done;
    std::string Message; // what the user was told, empty when nothing
    bool TableFull = false;
    int LeftOutObjects = 0; // objects left out of the model: a coordinate was not a finite number
};

// Validates, parses, rewrites, runs the turtle into an emptied Store and
// computes its bounds; messages and the output-size question go through
// Prompt, the turtle's "Generating ..." phase through its busy calls.
// Sets LastObjectCount, ProductionLength, LastDefinitionText and LastGenerationSeed.
TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State = DefinitionState, TFaceStore& Store = FaceStore,
                                TRandomSource& Random = RandomSource);

} // namespace verdel
