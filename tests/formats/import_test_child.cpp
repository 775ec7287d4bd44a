// A stand-in for verdel-import that takes the same arguments and limits,
// then misbehaves as its file argument says: crash, loop, allocate, sleep,
// flood (an endless reply) or reply (one triangle, properly).
#include <csignal>
#include <cstring>
#include <string>
#include <unistd.h>

#include "formats/import_reply.h"
#include "formats/import_sandbox.h"

using namespace verdel;

int main(int argc, char** argv)
{
    TImportLimits limits;
    const std::string does = StartImportChild(argc, argv, limits);
    if (does == "crash") raise(SIGSEGV);
    volatile unsigned long spin = 0;
    while (does == "loop") spin = spin + 1;
    if (does == "allocate")
        for (;;) std::memset(new char[64 << 20], 1, 64 << 20);
    if (does == "sleep")
        for (;;) pause();
    if (does == "flood") {
        const std::string block(1 << 16, 'x');
        while (write(ReplyFd, block.data(), block.size()) > 0) {}
    }
    TReplyWriter reply(ReplyFd, limits.ReplyBytes);
    TPlacedMesh triangle;
    triangle.Positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    triangle.FaceSizes = {3};
    triangle.Corners = {0, 1, 2};
    triangle.FaceLayers = {4};
    reply.Mesh(triangle);
    reply.End();
    return reply.Flush() ? 0 : 1;
}
