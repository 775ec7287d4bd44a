// Reading DXF files of polyface meshes, in the layout Verdel writes, into a face store.
#pragma once

#include <iosfwd>
#include <stdexcept>
#include <string>

#include "engine/face_store.h"

namespace verdel {

// A file whose content cannot be read as polyface meshes; the message names
// the file, the line and the reason ("tree.dxf, line 1234: corner index 40 outside 1..32").
class EDXFError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces the store's objects by the polylines of a DXF file: one object per
// polyline with faces, its layer as colour index, both face lists, LayerUsed
// and the bounds. The reader is positional: it looks for the exact keyword
// lines and takes the values at fixed offsets after them. Lines may end in
// CR LF or LF. A coordinate must be a finite number within the range of a
// Single. On a rejected file it throws EDXFError and leaves the store empty.
// Name is the file name used in messages.
void ReadDXF(std::istream& In, TFaceStore& Store, const std::string& Name);

// Opens FileName and reads it with ReadDXF. Errors opening or reading the file
// (a folder among them) throw std::runtime_error with the file name and the
// system's message.
void ReadDXFFile(TFaceStore& Store, const std::string& FileName);

} // namespace verdel
