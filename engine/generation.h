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

// Shown when the turtle stops at the object table's limit.
extern const char* const TableFullMessage;

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
    int ObjectCount = 0;        // objects the turtle made (shown by the viewer)
    int ProductionLength = 0;   // characters of the production string
    int NonFiniteObjects = 0;   // objects left out because a coordinate was not a finite number
    std::string DefinitionText; // the definition's lines, each ended by LF
    uint32_t Seed = 0;          // the random source's seed when the turtle began
};

// Validates, parses, rewrites, runs the turtle into an emptied Store and
// computes its bounds; messages and the output-size question go through
// Prompt, the turtle's "Generating ..." phase through its busy calls.
// The result also carries the object count, the production length, the
// definition text and the seed, which mesh exports record.
TGenerationResult GenerateModel(const TLines& Lines, const TSolidSettings& Settings, TPrompt& Prompt,
                                TDefinitionState& State, TFaceStore& Store, TRandomSource& Random);

} // namespace verdel
