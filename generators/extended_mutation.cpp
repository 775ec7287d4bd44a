#include "generators/extended_mutation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/extended_definition.h"
#include "engine/extended_syntax.h"
#include "generators/mutator.h"

namespace verdel {

namespace {

// Text[From, To) without the blanks around it, and where that starts.
std::pair<size_t, size_t> Trim(const std::string& text, size_t from, size_t to)
{
    while (from < to && (text[from] == ' ' || text[from] == '\t')) ++from;
    while (to > from && (text[to - 1] == ' ' || text[to - 1] == '\t')) --to;
    return {from, to};
}

// The value of Text[From, To) when it is a plain number and nothing else.
std::optional<double> PlainNumber(const std::string& text, size_t from, size_t to)
{
    double value = 0;
    const char* end = text.data() + to;
    const auto [stop, error] = std::from_chars(text.data() + from, end, value);
    if (from == to || error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

TTunableValue Tunable(size_t line, size_t from, size_t to, double value)
{
    TTunableValue tunable;
    tunable.Line = line;
    tunable.Column = from;
    tunable.Length = to - from;
    tunable.Value = value;
    return tunable;
}

// "#define NAME VALUE [lo, hi]": the value, when it and the range's ends are plain numbers.
std::optional<TTunableValue> DefineValue(const std::string& line, size_t index)
{
    size_t pos = 7;
    SkipBlanks(line, pos);
    while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '[') ++pos;
    const size_t bracket = std::min(line.find('[', pos), line.size());
    const auto [from, to] = Trim(line, pos, bracket);
    const std::optional<double> value = PlainNumber(line, from, to);
    if (!value) return std::nullopt;
    TTunableValue tunable = Tunable(index, from, to, *value);
    if (bracket == line.size()) return tunable;
    const size_t comma = line.find(',', bracket), close = line.find(']', bracket);
    const auto [lowFrom, lowTo] = Trim(line, bracket + 1, comma);
    const auto [highFrom, highTo] = Trim(line, comma + 1, close);
    const std::optional<double> low = PlainNumber(line, lowFrom, lowTo), high = PlainNumber(line, highFrom, highTo);
    if (!low || !high) return std::nullopt;
    tunable.Ranged = true;
    tunable.Low = *low;
    tunable.High = *high;
    tunable.LowText = line.substr(lowFrom, lowTo - lowFrom);
    tunable.HighText = line.substr(highFrom, highTo - highFrom);
    return tunable;
}

// "... --> SUCCESSOR : WEIGHT": the weight, when it is a plain number above 0.
std::optional<TTunableValue> WeightValue(const std::string& line, size_t index)
{
    size_t pos = line.find("-->", 1);
    if (pos == std::string::npos) return std::nullopt;
    pos += 3;
    SkipBlanks(line, pos);
    try {
        ReadModuleRun(line, pos);
    } catch (const ESyntaxError&) {
        return std::nullopt;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != ':') return std::nullopt;
    const auto [from, to] = Trim(line, pos + 1, std::min(line.find('#', pos), line.size()));
    const std::optional<double> value = PlainNumber(line, from, to);
    if (!value || *value <= 0) return std::nullopt;
    return Tunable(index, from, to, *value);
}

// A changed value as a short text: four significant digits at most.
std::string ShortText(double value)
{
    if (value == 0) return "0";
    const int decimals = std::clamp(3 - static_cast<int>(std::floor(std::log10(std::fabs(value)))), 0, 9);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

// The new text of a tunable value written as Old: moved by up to Share of its range (or of itself).
std::string Moved(const TTunableValue& t, double share, TRandomSource& random, const std::string& old)
{
    const double step = (2 * random.NextReal() - 1) * share;
    if (!t.Ranged) {
        // Too small a value for four decimals keeps its text rather than become 0.
        const std::string text = ShortText(t.Value == 0 ? step : t.Value * (1 + step));
        return text == "0" && t.Value != 0 ? old : text;
    }
    const double moved = std::clamp(t.Value + step * (t.High - t.Low), t.Low, t.High);
    const std::string text = ShortText(moved);
    const double written = std::strtod(text.c_str(), nullptr);
    return written < t.Low ? t.LowText : written > t.High ? t.HighText : text;
}

} // namespace

std::vector<TTunableValue> TunableValues(const TLines& Lines)
{
    std::vector<TTunableValue> values;
    if (!IsExtendedDefinition(Lines)) return values;
    for (size_t i = 0; i < Lines.size(); ++i) {
        const std::string& line = Lines[i];
        if (!line.starts_with("#define") || (line.size() > 7 && line[7] != ' ' && line[7] != '\t')) continue;
        if (std::optional<TTunableValue> value = DefineValue(line, i)) values.push_back(std::move(*value));
    }
    for (const TVDRule& rule : ReadVDFile(Lines).Rules)
        if (std::optional<TTunableValue> value = WeightValue(rule.Text, static_cast<size_t>(rule.Line)))
            values.push_back(std::move(*value));
    return values;
}

std::optional<std::string> NothingToMutate(const TLines& Lines)
{
    if (!IsExtendedDefinition(Lines) || !TunableValues(Lines).empty()) return std::nullopt;
    return "Nothing to Mutate\r\nThis extended definition has no \"#define\" value and no rule weight written as a "
           "number; only those change in an extended definition";
}

int MutateExtended(TLines& Lines, int Radiation, TRandomSource& Random)
{
    const std::vector<TTunableValue> values = TunableValues(Lines);
    if (values.empty()) return 0;
    std::vector<bool> changing(values.size());
    for (size_t k = 0; k < values.size(); ++k) changing[k] = Random.Next(2) == 1;
    if (std::find(changing.begin(), changing.end(), true) == changing.end())
        changing[Random.Next(static_cast<uint32_t>(values.size()))] = true;
    const double share = (Radiation + 1) / 11.0 / 2;
    // From the last: a changed text's length moves nothing before it on its line.
    int changed = 0;
    for (size_t k = values.size(); k-- > 0;) {
        if (!changing[k]) continue;
        const TTunableValue& t = values[k];
        std::string& line = Lines[t.Line];
        line.replace(t.Column, t.Length, Moved(t, share, Random, line.substr(t.Column, t.Length)));
        ++changed;
    }
    return changed;
}

} // namespace verdel
