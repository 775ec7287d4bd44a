// Reading models from files into a face store: Verdel's own DXF files, and
// the mesh formats read through Assimp (OBJ, STL, PLY, OFF, glTF and GLB,
// 3DS, Collada, FBX), in a child process under limits.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/cancel.h"
#include "engine/face_store.h"
#include "engine/model.h"
#include "formats/placed_mesh.h"

struct aiScene;

namespace verdel {

// A mesh file whose content cannot be read; the message names the file and the reason.
class EModelError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most vertices an object read from a mesh file takes; larger meshes are split.
constexpr int MaxImportedVertices = 500;

// The extension of FileName's last part, in lower case and without the dot ("obj"), or "".
std::string LowerExtension(const std::string& FileName);

// Whether FileName's extension (in any letter case) names a format Verdel
// reads through Assimp: obj, stl, ply, off, gltf, glb, 3ds, dae, fbx. DXF is
// not one of them: Verdel reads its DXF files itself.
bool IsForeignModel(const std::string& FileName);

// Whether FileName is a model file rather than a definition: DXF, a foreign
// model, or another format Assimp knows (read, it is refused as an unknown format).
bool IsModelFile(const std::string& FileName);

// The file-name patterns of the foreign formats ("*.3ds", "*.dae", ...), in
// alphabetical order, DXF left out.
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

// Calls its argument with each placed mesh of a scene, in order.
using TPlacedMeshSource = std::function<void(const std::function<void(const TPlacedMesh&)>&)>;

// StoreScene over the meshes Source gives; whatever Source throws leaves the store empty.
void StorePlacedMeshes(const TPlacedMeshSource& Source, TFaceStore& Store, const std::string& Name);

// Reads a foreign mesh file into Store (see StoreScene): checks it in
// Verdel's own code (MeshFileFault), then has verdel-import read it through
// Assimp in a child process under TImportLimits and builds the store from
// its reply. A file that cannot be opened throws std::runtime_error with the
// system's reason; any other failure EModelError naming the file and saying
// what happened in Verdel's words ("is a folder, not a model file", "unknown
// format", "no meshes in the file", "the importer crashed", "the importer
// took longer than 20 s"), Assimp's own text kept after " (details: ...)".
// Both leave the store empty. Returns false, the store empty, when Cancel
// is cancelled before the import is done.
bool ReadForeignModelFile(TFaceStore& Store, const std::string& FileName, const TCancelToken& Cancel);
void ReadForeignModelFile(TFaceStore& Store, const std::string& FileName);

// Reads a DXF file (ReadDXFFile) or a foreign mesh file (ReadForeignModelFile) into Store.
bool ReadModelFile(TFaceStore& Store, const std::string& FileName, const TCancelToken& Cancel);
void ReadModelFile(TFaceStore& Store, const std::string& FileName);

// Reads a model file (ReadModelFile) into a model of its own, named after the
// file; throws as ReadModelFile does. Nothing comes back when Cancel is
// cancelled before the read is done.
std::optional<TModel> ReadModel(const std::string& FileName, const TCancelToken& Cancel);
TModel ReadModel(const std::string& FileName);

// Moves From's model (objects, faces, used layers, bounds) into To, whose own
// model is released; From is left empty. To keeps its translation.
void ReplaceModel(TFaceStore& To, TFaceStore& From);

} // namespace verdel
