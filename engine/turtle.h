// The three-dimensional turtle that turns a production string into solids.
#pragma once

#include "engine/cancel.h"
#include "engine/definition.h"
#include "engine/mesh_builder.h"
#include "engine/random_source.h"

namespace verdel {

// Which solids the drawing commands build (the four drawing settings).
struct TSolidSettings {
    bool Cylinders = true;  // "F" and "Z" draw tubes instead of blocks
    bool QCones = false;    // "Q" draws a cone; ignored otherwise
    bool WBlocks = false;   // "W" draws a block; ignored otherwise
    bool RPyramids = false; // "R" draws a pyramid; ignored otherwise
};

struct TTurtleResult {
    int ObjectCount = 0;    // objects added (GeneratedObjects)
    bool TableFull = false; // the run stopped at the object table's limit
    int LeftOutObjects = 0; // objects not added: a coordinate was not a finite number
    bool Cancelled = false; // the cancel token stopped the run
};

// Walks State.Production once and adds its solids and polygons through
// Builder. Changes the definition's length, angle, thickness and colour in
// place, so it runs on a freshly parsed definition. "~" draws from Random.
// Throws EConvertError when a "(x)" parameter is not a number.
TTurtleResult InterpretProduction(TDefinitionState& State, const TSolidSettings& Settings, TMeshBuilder& Builder,
                                  TRandomSource& Random);

// The same, polling Cancel (and reporting progress through it) every few
// thousand commands; a cancelled run stops with Cancelled set, its objects
// left in the builder's store for the caller to free.
TTurtleResult InterpretProduction(TDefinitionState& State, const TSolidSettings& Settings, TMeshBuilder& Builder,
                                  TRandomSource& Random, const TCancelToken& Cancel);

} // namespace verdel
