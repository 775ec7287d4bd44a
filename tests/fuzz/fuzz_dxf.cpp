// Fuzz target: a DXF file through the reader; a file it accepts is written
// again and must read back with the same number of objects and faces.
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "formats/dxf_reader.h"
#include "formats/dxf_writer.h"
#include "tests/fuzz/fuzz_target.h"

using namespace verdel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static const auto store = std::make_unique<TFaceStore>();
    std::istringstream in(std::string(reinterpret_cast<const char*>(Data), Size));
    try {
        ReadDXF(in, *store, "fuzz.dxf");
    } catch (const EDXFError&) {
        return 0; // rejected with its line: the expected answer to a bad file
    }
    const int objects = store->ObjectCount;
    const int64_t faces = CountFaces(*store);
    std::stringstream again;
    WriteDXF(again, *store);
    ReadDXF(again, *store, "again.dxf");
    if (store->ObjectCount != objects || CountFaces(*store) != faces) std::abort();
    FreeScene(*store);
    return 0;
}
