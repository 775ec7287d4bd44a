#include "formats/mesh_content.h"

#include "engine/text_lines.h"

namespace verdel {

namespace {

// The length of the UTF-8 sequence that starts at At, 0 when it is not one.
size_t Utf8Length(std::string_view text, size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

} // namespace

std::vector<std::string> NoteLines(const TExportInfo& Info)
{
    std::vector<std::string> lines{"Made by " + Info.ProgramName};
    if (Info.Seed) lines.push_back("Seed: " + std::to_string(*Info.Seed));
    if (!Info.Definition.empty()) {
        lines.push_back("Definition:");
        for (std::string& line : SplitLines(Info.Definition)) lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<int> UsedLayers(const TFaceStore& Store)
{
    std::array<bool, 256> used{};
    for (int k = 1; k <= Store.ObjectCount; ++k)
        if (Store.Object(k).ModelFaces) used[Store.Object(k).ColorIndex] = true;
    std::vector<int> layers;
    for (size_t layer = 0; layer < used.size(); ++layer)
        if (used[layer]) layers.push_back(static_cast<int>(layer));
    return layers;
}

std::string MaterialName(int Layer)
{
    const std::string name = LayerColorName(Layer);
    return name.empty() ? "layer" + std::to_string(Layer) : name;
}

std::array<float, 3> LayerRGB(int Layer)
{
    const TColor c = Layer >= 0 && Layer <= LayerCount ? LayerColors[static_cast<size_t>(Layer)] : 0;
    return {static_cast<float>(c & 0xFF) / 255.0f, static_cast<float>((c >> 8) & 0xFF) / 255.0f,
            static_cast<float>((c >> 16) & 0xFF) / 255.0f};
}

std::string Utf8Text(std::string_view Text)
{
    std::string out;
    out.reserve(Text.size());
    for (size_t at = 0; at < Text.size(); ++at) {
        const auto c = static_cast<unsigned char>(Text[at]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const size_t length = Utf8Length(Text, at)) {
            out.append(Text.substr(at, length));
            at += length - 1;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace verdel
