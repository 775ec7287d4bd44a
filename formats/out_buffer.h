// Bytes gathered in a large buffer and handed to a stream in big pieces:
// little-endian binary values, and numbers as the shortest text that reads
// back as the same value.
#pragma once

#include <bit>
#include <charconv>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace verdel {

class TOutBuffer {
public:
    explicit TOutBuffer(std::ostream& out) : Out(out) { Buffer.reserve(Capacity + Slack); }
    TOutBuffer(const TOutBuffer&) = delete;
    TOutBuffer& operator=(const TOutBuffer&) = delete;

    void Bytes(const void* Data, size_t Size)
    {
        if (Size >= Capacity) {
            // A large piece goes to the stream as it is, without a copy.
            Flush();
            Out.write(static_cast<const char*>(Data), static_cast<std::streamsize>(Size));
            if (!Out) throw std::runtime_error("write error");
            return;
        }
        Buffer.append(static_cast<const char*>(Data), Size);
        if (Buffer.size() >= Capacity) Flush();
    }
    void Text(std::string_view Value) { Bytes(Value.data(), Value.size()); }
    void Char(char Value)
    {
        Buffer.push_back(Value);
        if (Buffer.size() >= Capacity) Flush();
    }

    // A value as its little-endian bytes (the formats written are little-endian, as is the host).
    template <class T> void Binary(T Value)
    {
        static_assert(std::endian::native == std::endian::little, "binary mesh files are little-endian");
        Bytes(&Value, sizeof Value);
    }
    // Count zero bytes.
    void Zeros(size_t Count) { Buffer.append(Count, '\0'); }

    // The shortest decimal text that reads back as the same float ("0.5", "1e-07").
    void Number(float Value) { Append(Value); }
    void Integer(long long Value) { Append(Value); }

    // Hands the buffer to the stream; throws std::runtime_error when the stream fails.
    void Flush()
    {
        Out.write(Buffer.data(), static_cast<std::streamsize>(Buffer.size()));
        Buffer.clear();
        if (!Out) throw std::runtime_error("write error");
    }

private:
    template <class T> void Append(T value)
    {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, value).ptr;
        Buffer.append(text, static_cast<size_t>(end - text));
        if (Buffer.size() >= Capacity) Flush();
    }

    static constexpr size_t Capacity = 1 << 20;
    static constexpr size_t Slack = 4096;
    std::ostream& Out;
    std::string Buffer;
};

} // namespace verdel
