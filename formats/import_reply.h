// The reply of the importer child: the placed meshes of a scene in a plain
// binary form, or the reason the import failed, sent over a pipe.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "formats/placed_mesh.h"

namespace verdel {

// Why the child could not send a scene.
enum class TImportFailure : uint8_t {
    Library = 1,  // the mesh library refused the file; the text is its message
    Refused = 2,  // the model named a file outside its folder; the text is that name
    TooLarge = 3, // the scene is larger than the reply may be; the text is the limit in bytes
};

// A reply that ended with a failure.
class EImportFailure : public std::runtime_error {
public:
    EImportFailure(TImportFailure kind, const std::string& text) : std::runtime_error(text), Kind(kind) {}
    TImportFailure Kind;
};

// Writes a reply to a file descriptor, record by record, in pieces of about a megabyte.
class TReplyWriter {
public:
    // Limit is the most bytes the reply may take.
    TReplyWriter(int fd, uint64_t limit);

    // Adds Mesh; false, with nothing added, when it would take the reply past the limit.
    bool Mesh(const TPlacedMesh& Mesh);
    // Ends the reply with a failure.
    void Failure(TImportFailure Kind, std::string_view Text);
    // Ends the reply with the scene complete.
    void End();
    // Writes out what is buffered; false when the pipe is gone.
    bool Flush();

private:
    template <class T> void Put(const T* Data, size_t Count);

    int Fd;
    uint64_t Limit, Written = 0;
    std::string Buffer;
};

// Reads Reply, calling Visit with each mesh in order. Returns at its end
// record; throws EImportFailure at a failure record, and std::runtime_error
// for a reply that is cut short or damaged (a count past its end, a corner
// outside its mesh, a layer outside 1..12), so nothing the child sends can
// make the reader read outside the reply or allocate more than it holds.
void ReadReply(std::string_view Reply, const std::function<void(const TPlacedMesh&)>& Visit);

} // namespace verdel
