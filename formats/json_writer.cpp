#include "formats/json_writer.h"

namespace verdel {

TJsonObjectWriter::TJsonObjectWriter(std::string& out) : Out(out) { Out += '{'; }

void TJsonObjectWriter::WriteKey(std::string_view key)
{
    if (!FirstMember) Out += ',';
    FirstMember = false;
    Out += nlohmann::json(key).dump();
    Out += ':';
}

void TJsonObjectWriter::Member(std::string_view Key, const nlohmann::json& Value)
{
    WriteKey(Key);
    Out += Value.dump();
}

void TJsonObjectWriter::BeginArray(std::string_view Key)
{
    WriteKey(Key);
    Out += '[';
    FirstElement = true;
}

void TJsonObjectWriter::Element(const nlohmann::json& Value)
{
    if (!FirstElement) Out += ',';
    FirstElement = false;
    Out += Value.dump();
}

void TJsonObjectWriter::EndArray() { Out += ']'; }

void TJsonObjectWriter::End() { Out += '}'; }

} // namespace verdel
