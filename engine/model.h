// A model as it is handed on: from the generation or file read that made it
// to the window or command that shows or writes it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/face_store.h"
#include "engine/turtle.h"

namespace verdel {

// Where a model came from: a generation, or a model file (whose view shows
// its own object count and no production length).
enum class TModelSource { Generation, File };

// The faces of one model with their bounds, and what made them. Only one
// thread works on a model at a time: the one that made it, until it hands it on.
struct TModel {
    std::unique_ptr<TFaceStore> Store = std::make_unique<TFaceStore>();
    TModelSource Source = TModelSource::Generation;
    std::string FileName;       // the definition generated (exports take their name from it), or the model file read
    int ObjectCount = 0;        // objects the turtle made, or the file holds
    int ProductionLength = 0;   // characters of the production string; 0 for a file
    int LeftOutObjects = 0;     // objects left out because a coordinate was not a finite number
    std::string DefinitionText; // the definition's lines, each ended by LF; empty for a file
    uint32_t Seed = 0;          // the random source's seed when the turtle began
    TSolidSettings Solids;      // the drawing settings of the generation
    std::vector<std::string> Warnings; // what the production does that its text may not seem to say
};

// Gives Shown the model of Fresh and Fresh the model Shown had, faces and
// facts alike; each store record stays where it is (a navigator holds Shown's)
// and keeps its own view translation.
void ExchangeModels(TModel& Shown, TModel& Fresh);

// Empties Model: its faces are released and its facts cleared.
void ClearModel(TModel& Model);

// What the viewer says in place of a model without objects: why it is empty
// (the coordinates, a Q, W or R whose setting is off, no drawing command, a
// file with nothing to draw); empty when the model has objects.
std::string EmptyModelNote(const TModel& Model);

} // namespace verdel
