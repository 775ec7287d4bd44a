// A JSON object written member by member into a string. Every key and value
// is serialised by nlohmann-json; an array member can also be written element
// by element, so that a document of many thousand elements is never held
// whole in memory.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace verdel {

class TJsonObjectWriter {
public:
    // Opens the object at the end of Out.
    explicit TJsonObjectWriter(std::string& Out);

    // Writes Key with a whole value.
    void Member(std::string_view Key, const nlohmann::json& Value);
    // Opens the array member Key; Element adds to it, EndArray closes it.
    void BeginArray(std::string_view Key);
    void Element(const nlohmann::json& Value);
    void EndArray();
    // Closes the object; nothing may be written after it.
    void End();

private:
    void WriteKey(std::string_view key);
    std::string& Out;
    bool FirstMember = true;
    bool FirstElement = true;
};

} // namespace verdel
