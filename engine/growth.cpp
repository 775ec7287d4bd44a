#include "engine/growth.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "engine/extended_definition.h"
#include "engine/text_number.h"

namespace verdel {

namespace {

// The index of the first line that is neither a comment nor empty, as the parser counts value lines.
std::optional<size_t> FirstValueLine(const TLines& lines)
{
    for (size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].empty() && lines[i][0] != '#') return i;
    return std::nullopt;
}

// The shortest text of Value's double: every Single is exactly a double, and a
// text that reads back as that double also reads back, through the parser's
// long double, as the Single itself.
std::string NumberText(float value)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value)).ptr;
    return std::string(buffer, end);
}

} // namespace

std::optional<float> IterationValue(const TLines& Lines)
{
    if (IsExtendedDefinition(Lines)) {
        TValidation validation;
        const std::unique_ptr<TExtendedProgram> program = CompileExtendedDefinition(Lines, validation);
        if (!program) return std::nullopt;
        return ToSingle(program->IterationValue);
    }
    const std::optional<size_t> line = FirstValueLine(Lines);
    if (!line) return std::nullopt;
    const float value = ParseLeadingNumber(Lines[*line]);
    if (value == -1.0f) return std::nullopt;
    return value;
}

TLines WithIterationValue(const TLines& Lines, float Value)
{
    TLines lines = Lines;
    const std::optional<size_t> line = FirstValueLine(lines);
    if (!line) return lines;
    std::string& text = lines[*line];
    // An extended definition's value is an expression up to the comment, blanks and all.
    const bool extended = IsExtendedDefinition(Lines);
    const size_t stop = std::min(text.find_first_of(extended ? "#" : " \t#"), text.size());
    text.replace(0, stop, NumberText(Value) + (extended && stop < text.size() ? " " : ""));
    return lines;
}

TGenerationResult GenerateGrowth(const TLines& Lines, float Value, const TSolidSettings& Settings, TPrompt& Prompt,
                                 TDefinitionState& State, TFaceStore& Store, TRandomSource& Random)
{
    return GenerateModel(WithIterationValue(Lines, Value), Settings, Prompt, State, Store, Random);
}

std::vector<float> GrowthValues(float From, float To, int Frames)
{
    std::vector<float> values;
    if (Frames < 1) return values;
    if (Frames == 1) return {To};
    values.reserve(static_cast<size_t>(Frames));
    const long double span = static_cast<long double>(To) - From;
    for (int k = 0; k < Frames; ++k) values.push_back(ToSingle(From + span * k / (Frames - 1)));
    return values;
}

void ExchangeModels(TFaceStore& Shown, TFaceStore& Fresh)
{
    // The whole table moves with the pools, so no head is left pointing into the other store's nodes.
    std::swap(Shown.Objects, Fresh.Objects);
    std::swap(Shown.Nodes, Fresh.Nodes);
    std::swap(Shown.ObjectCount, Fresh.ObjectCount);
    std::swap(Shown.LayerUsed, Fresh.LayerUsed);
    std::swap(Shown.MaxX, Fresh.MaxX);
    std::swap(Shown.MaxY, Fresh.MaxY);
    std::swap(Shown.MaxZ, Fresh.MaxZ);
    std::swap(Shown.MinX, Fresh.MinX);
    std::swap(Shown.MinY, Fresh.MinY);
    std::swap(Shown.MinZ, Fresh.MinZ);
}

} // namespace verdel
