// Fuzz target: a definition text through validation, parsing, rewriting, the
// turtle and the DXF writer. The iteration count is capped and the turtle
// walks at most the first 100,000 characters, so that one input stays quick
// (any cut production is a possible axiom); growth beyond the production
// limit is refused by the engine.
#include <algorithm>
#include <memory>
#include <sstream>
#include <string_view>

#include "engine/definition.h"
#include "engine/face_store.h"
#include "engine/production.h"
#include "engine/random_source.h"
#include "engine/text_number.h"
#include "engine/turtle.h"
#include "formats/dxf_writer.h"
#include "tests/fuzz/fuzz_target.h"
#include "tests/support/scripted_prompt.h"

namespace {

using namespace verdel;

constexpr size_t MaxInput = 4096;
constexpr int MaxIterations = 6;
constexpr size_t MaxTurtleWalk = 100'000;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    if (Size > MaxInput) return 0;
    const TLines lines = SplitLines(std::string_view(reinterpret_cast<const char*>(Data), Size));
    std::string error;
    if (!ValidateDefinition(lines, error)) return 0;

    auto state = std::make_unique<TDefinitionState>();
    ParseDefinition(*state, lines);
    state->Iterations = std::clamp(state->Iterations, 0, MaxIterations);
    test::TYesPrompt prompt; // the turtle always runs
    if (!BuildProduction(*state, prompt)) return 0;
    if (state->Production.size() > MaxTurtleWalk) state->Production.resize(MaxTurtleWalk);

    static const auto store = std::make_unique<TFaceStore>();
    FreeScene(*store);
    TMeshBuilder builder(*store);
    builder.Reset();
    TRandomSource random;
    try {
        InterpretProduction(*state, TSolidSettings{true, true, true, true}, builder, random);
    } catch (const EConvertError&) {
        return 0; // a parameter that is not a number: reported to the user
    }
    ComputeBounds(*store);
    // The store holds finite objects only, so writing it never fails.
    std::ostringstream dxf;
    WriteDXF(dxf, *store);
    return 0;
}
