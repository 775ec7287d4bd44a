// Reading models from files into a face store: Verdel's own DXF files, and
// every mesh format that Assimp reads (OBJ, STL, PLY, glTF, 3DS, FBX, Collada...).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/face_store.h"
#include "engine/model.h"

struct aiScene;

namespace verdel {

// A mesh file whose content cannot be read; the message names the file and the reason.
class EModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most vertices an object read from a mesh file takes; larger meshes are split.
constexpr int MaxImportedVertices = 500;

// Whether FileName's extension (in any letter case) names a format read
// through Assimp. DXF is not one of them: Verdel reads its DXF files itself.
bool IsForeignModel(const std::string& FileName);

// Whether FileName is a model file, DXF or foreign, rather than a definition.
bool IsModelFile(const std::string& FileName);

// The file-name patterns of the formats read through Assimp ("*.3ds",
// "*.obj", ...), in alphabetical order, DXF left out.
std::vector<std::string> ForeignModelPatterns();

// The layer (1..12) whose colour lies nearest to red, green and blue (0..1),
// the lower layer on a tie.
int NearestLayer(float Red, float Green, float Blue);

// Replaces the store's objects by the polygons of Scene, each mesh placed as
// its nodes place it. A mesh becomes objects of at most MaxImportedVertices
// vertices (corners at the same place share one), its faces in order: a triangle is stored with its third corner
// repeated as the fourth, a quadrilateral as it is, a larger polygon as a fan
// of quadrilaterals (and a last triangle) around its first corner; points
// and lines are left out. An object's layer comes from its material: a
// material named after a layer colour ("olive") takes that layer, any other
// the layer nearest its diffuse colour; faces of a mesh with vertex colours
// take the layer nearest their first corner's colour. Sets LayerUsed and the
// bounds. Throws EModelError naming Name for a coordinate that is not
// finite, more objects than the store holds or a scene without polygons, and
// leaves the store empty.
void StoreScene(const aiScene& Scene, TFaceStore& Store, const std::string& Name);

// Reads a file through Assimp into Store (see StoreScene). A file that cannot be opened throws std::runtime_error
// with the system's reason, one that Assimp cannot read EModelError with
// Assimp's reason; both name the file and leave the store empty.
void ReadForeignModelFile(TFaceStore& Store, const std::string& FileName);

// Reads a DXF file (ReadDXFFile) or a foreign mesh file (ReadForeignModelFile) into Store.
void ReadModelFile(TFaceStore& Store, const std::string& FileName);

// Reads a model file (ReadModelFile) into a model of its own, named after the
// file; throws as ReadModelFile does.
TModel ReadModel(const std::string& FileName);

// Moves From's model (objects, faces, used layers, bounds) into To, whose own
// model is released; From is left empty. To keeps its translation.
void ReplaceModel(TFaceStore& To, TFaceStore& From);

} // namespace verdel
