// The few changes Verdel makes to the JSON part of a glTF file that Assimp wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace verdel {

// Text as a JSON string, quotes included. Bytes that are not UTF-8 are read
// as Latin-1, so the result is always valid UTF-8.
std::string JsonString(std::string_view Text);

// Sets the "generator" of the top-level "asset" object to Generator and adds
// to it "extras": {"definition": Definition, "seed": Seed}, each member only
// when given (no "extras" when neither is). Throws std::runtime_error when
// Json is not an object with an "asset" object.
void SetGltfAsset(std::string& Json, const std::string& Generator, const std::string& Definition,
                  std::optional<uint32_t> Seed);

// Removes the top-level member Key ("buffers") when there is one.
void RemoveTopLevelMember(std::string& Json, std::string_view Key);

// The JSON chunk of a binary glTF file. Throws std::runtime_error when Glb
// is not a binary glTF file.
std::string GlbJson(const std::string& Glb);

// Replaces the JSON chunk of a binary glTF file (padded with blanks to four
// bytes) and sets the lengths to match.
void SetGlbJson(std::string& Glb, std::string Json);

} // namespace verdel
