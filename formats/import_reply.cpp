#include "formats/import_reply.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace verdel {

namespace {

// The reply starts with this tag; then records, each starting with its kind.
constexpr char Tag[4] = {'V', 'D', 'I', '1'};
constexpr char MeshRecord = 'M', FailureRecord = 'F', EndRecord = 'E';
constexpr size_t PieceSize = 1 << 20;

// Reads the reply's values in order, refusing to read past its end.
class TReplyReader {
public:
    explicit TReplyReader(std::string_view reply) : Reply(reply) {}

    template <class T> T Value()
    {
        T value;
        Copy(&value, 1);
        return value;
    }
    // Count values of T into Values, after checking the reply holds them.
    template <class T> void Values(std::vector<T>& values, uint64_t count)
    {
        if (count > (Reply.size() - At) / sizeof(T)) Damaged();
        values.resize(static_cast<size_t>(count));
        Copy(values.data(), values.size());
    }
    std::string Text()
    {
        const auto length = Value<uint32_t>();
        if (length > Reply.size() - At) Damaged();
        At += length;
        return std::string(Reply.substr(At - length, length));
    }
    [[noreturn]] static void Damaged() { throw std::runtime_error("the importer's reply is damaged"); }

private:
    template <class T> void Copy(T* to, size_t count)
    {
        if (count > (Reply.size() - At) / sizeof(T)) Damaged();
        if (count > 0) std::memcpy(to, Reply.data() + At, count * sizeof(T));
        At += count * sizeof(T);
    }

    std::string_view Reply;
    size_t At = 0;
};

void ReadMesh(TReplyReader& in, TPlacedMesh& mesh)
{
    const auto vertices = in.Value<uint32_t>();
    const auto faces = in.Value<uint32_t>();
    const auto corners = in.Value<uint64_t>();
    in.Values(mesh.Positions, vertices);
    in.Values(mesh.FaceSizes, faces);
    in.Values(mesh.Corners, corners);
    in.Values(mesh.FaceLayers, faces);
    uint64_t total = 0;
    for (const uint32_t size : mesh.FaceSizes) {
        if (size < 3) TReplyReader::Damaged();
        total += size;
    }
    if (total != corners) TReplyReader::Damaged();
    for (const uint32_t corner : mesh.Corners)
        if (corner >= vertices) TReplyReader::Damaged();
    for (const uint8_t layer : mesh.FaceLayers)
        if (layer < 1 || layer > 12) TReplyReader::Damaged();
}

} // namespace

TReplyWriter::TReplyWriter(int fd, uint64_t limit) : Fd(fd), Limit(limit) { Put(Tag, sizeof Tag); }

template <class T> void TReplyWriter::Put(const T* Data, size_t Count)
{
    Buffer.append(reinterpret_cast<const char*>(Data), Count * sizeof(T));
    Written += Count * sizeof(T);
}

bool TReplyWriter::Mesh(const TPlacedMesh& Mesh)
{
    const uint64_t size = 1 + 16 + Mesh.Positions.size() * sizeof(TVector) + Mesh.FaceSizes.size() * 5 +
                          Mesh.Corners.size() * 4;
    // Room is kept for the end or failure record after it.
    if (Written + size + 64 > Limit) return false;
    const auto vertices = static_cast<uint32_t>(Mesh.Positions.size());
    const auto faces = static_cast<uint32_t>(Mesh.FaceSizes.size());
    const uint64_t corners = Mesh.Corners.size();
    Put(&MeshRecord, 1);
    Put(&vertices, 1);
    Put(&faces, 1);
    Put(&corners, 1);
    Put(Mesh.Positions.data(), Mesh.Positions.size());
    Put(Mesh.FaceSizes.data(), Mesh.FaceSizes.size());
    Put(Mesh.Corners.data(), Mesh.Corners.size());
    Put(Mesh.FaceLayers.data(), Mesh.FaceLayers.size());
    if (Buffer.size() >= PieceSize) Flush();
    return true;
}

void TReplyWriter::Failure(TImportFailure Kind, std::string_view Text)
{
    const auto length = static_cast<uint32_t>(std::min<size_t>(Text.size(), 4096));
    Put(&FailureRecord, 1);
    Put(&Kind, 1);
    Put(&length, 1);
    Put(Text.data(), length);
}

void TReplyWriter::End() { Put(&EndRecord, 1); }

bool TReplyWriter::Flush()
{
    for (size_t at = 0; at < Buffer.size();) {
        const ssize_t written = write(Fd, Buffer.data() + at, Buffer.size() - at);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        at += static_cast<size_t>(written);
    }
    Buffer.clear();
    return true;
}

void ReadReply(std::string_view Reply, const std::function<void(const TPlacedMesh&)>& Visit)
{
    TReplyReader in(Reply);
    char tag[sizeof Tag];
    for (char& c : tag) c = in.Value<char>();
    if (std::memcmp(tag, Tag, sizeof Tag) != 0) TReplyReader::Damaged();
    TPlacedMesh mesh;
    for (;;) {
        const char record = in.Value<char>();
        if (record == EndRecord) return;
        if (record == FailureRecord) {
            const auto kind = in.Value<uint8_t>();
            if (kind < 1 || kind > 3) TReplyReader::Damaged();
            throw EImportFailure(static_cast<TImportFailure>(kind), in.Text());
        }
        if (record != MeshRecord) TReplyReader::Damaged();
        ReadMesh(in, mesh);
        Visit(mesh);
    }
}

} // namespace verdel
