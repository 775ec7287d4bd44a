#include "formats/gltf_json.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace verdel {

namespace {

[[noreturn]] void Malformed(const char* what) { throw std::runtime_error(std::string("glTF JSON: ") + what); }

size_t SkipSpace(const std::string& json, size_t at)
{
    while (at < json.size() && (json[at] == ' ' || json[at] == '\t' || json[at] == '\n' || json[at] == '\r')) ++at;
    return at;
}

// At an opening quote; returns the position after the closing quote.
size_t SkipString(const std::string& json, size_t at)
{
    for (++at; at < json.size(); ++at) {
        if (json[at] == '\\') ++at;
        else if (json[at] == '"') return at + 1;
    }
    Malformed("unterminated string");
}

// At the first character of a value; returns the position after it.
size_t SkipValue(const std::string& json, size_t at)
{
    if (at >= json.size()) Malformed("missing value");
    if (json[at] == '"') return SkipString(json, at);
    if (json[at] != '{' && json[at] != '[') {
        while (at < json.size() && std::strchr(",}] \t\r\n", json[at]) == nullptr) ++at;
        return at;
    }
    int depth = 0;
    for (; at < json.size(); ++at) {
        const char c = json[at];
        if (c == '"') at = SkipString(json, at) - 1;
        else if (c == '{' || c == '[') ++depth;
        else if ((c == '}' || c == ']') && --depth == 0) return at + 1;
    }
    Malformed("unbalanced brackets");
}

// A member of an object: from its key's opening quote to the end of its value.
struct TMember {
    size_t Start = 0;
    size_t ValueStart = 0;
    size_t End = 0;
};

// The member Key of the object that opens at Object.
std::optional<TMember> FindMember(const std::string& json, size_t object, std::string_view key)
{
    if (object >= json.size() || json[object] != '{') Malformed("object expected");
    size_t at = SkipSpace(json, object + 1);
    while (at < json.size() && json[at] != '}') {
        if (json[at] != '"') Malformed("member name expected");
        TMember member;
        member.Start = at;
        const size_t keyEnd = SkipString(json, at);
        const std::string_view name(json.data() + at + 1, keyEnd - at - 2);
        at = SkipSpace(json, keyEnd);
        if (at >= json.size() || json[at] != ':') Malformed("':' expected");
        member.ValueStart = SkipSpace(json, at + 1);
        member.End = SkipValue(json, member.ValueStart);
        if (name == key) return member;
        at = SkipSpace(json, member.End);
        if (at < json.size() && json[at] == ',') at = SkipSpace(json, at + 1);
    }
    return std::nullopt;
}

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

uint32_t ReadWord(const std::string& bytes, size_t at)
{
    static_assert(std::endian::native == std::endian::little, "binary glTF is little-endian");
    uint32_t value;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    return value;
}

void WriteWord(std::string& bytes, size_t at, uint32_t value) { std::memcpy(bytes.data() + at, &value, sizeof value); }

constexpr uint32_t GlbMagic = 0x46546C67;  // "glTF"
constexpr uint32_t JsonChunk = 0x4E4F534A; // "JSON"

} // namespace

std::string JsonString(std::string_view Text)
{
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (size_t at = 0; at < Text.size(); ++at) {
        const auto c = static_cast<unsigned char>(Text[at]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20) out += std::string("\\u00") + hex[c >> 4] + hex[c & 15];
        else if (c < 0x80) out += static_cast<char>(c);
        else if (const size_t length = Utf8Length(Text, at)) {
            out.append(Text.substr(at, length));
            at += length - 1;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out + "\"";
}

void SetGltfAsset(std::string& Json, const std::string& Generator, const std::string& Definition,
                  std::optional<uint32_t> Seed)
{
    const std::optional<TMember> asset = FindMember(Json, SkipSpace(Json, 0), "asset");
    if (!asset || Json[asset->ValueStart] != '{') Malformed("no asset object");
    std::string extras;
    if (!Definition.empty()) extras += "\"definition\":" + JsonString(Definition);
    if (Seed) extras.append(extras.empty() ? "" : ",").append("\"seed\":").append(std::to_string(*Seed));
    if (!extras.empty()) extras = std::string(",\"extras\":{").append(extras).append("}");

    const std::string generator = JsonString(Generator);
    if (const std::optional<TMember> old = FindMember(Json, asset->ValueStart, "generator")) {
        Json.replace(old->ValueStart, old->End - old->ValueStart, generator + extras);
    } else {
        const bool empty = Json[SkipSpace(Json, asset->ValueStart + 1)] == '}';
        Json.insert(asset->ValueStart + 1, "\"generator\":" + generator + extras + (empty ? "" : ","));
    }
}

void RemoveTopLevelMember(std::string& Json, std::string_view Key)
{
    const std::optional<TMember> member = FindMember(Json, SkipSpace(Json, 0), Key);
    if (!member) return;
    const size_t after = SkipSpace(Json, member->End);
    if (after < Json.size() && Json[after] == ',') {
        Json.erase(member->Start, SkipSpace(Json, after + 1) - member->Start);
        return;
    }
    // The last member: remove the comma before it instead.
    size_t before = member->Start;
    while (before > 0 && Json[before - 1] != ',' && Json[before - 1] != '{') --before;
    if (before > 0 && Json[before - 1] == ',') --before;
    Json.erase(before, member->End - before);
}

std::string GlbJson(const std::string& Glb)
{
    if (Glb.size() < 20 || ReadWord(Glb, 0) != GlbMagic || ReadWord(Glb, 16) != JsonChunk)
        throw std::runtime_error("not a binary glTF file");
    const uint32_t length = ReadWord(Glb, 12);
    if (20 + static_cast<size_t>(length) > Glb.size())
        throw std::runtime_error("binary glTF JSON chunk runs past the end");
    return Glb.substr(20, length);
}

void SetGlbJson(std::string& Glb, std::string Json)
{
    const size_t oldEnd = 20 + GlbJson(Glb).size();
    Json.resize((Json.size() + 3) / 4 * 4, ' ');
    Glb.replace(20, oldEnd - 20, Json);
    WriteWord(Glb, 12, static_cast<uint32_t>(Json.size()));
    WriteWord(Glb, 8, static_cast<uint32_t>(Glb.size()));
}

} // namespace verdel
