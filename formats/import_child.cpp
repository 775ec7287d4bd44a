#include "formats/import_child.h"

#include <set>
#include <string>
#include <unistd.h>

#include <assimp/BaseImporter.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "formats/folder_io_system.h"
#include "formats/import_reply.h"
#include "formats/import_sandbox.h"
#include "formats/model_reader.h"

namespace verdel {

namespace {

// Leaves the importer only the readers of Extension, so no other reader
// ever guesses at the content. The readers taken out are the caller's to delete.
void KeepReadersOf(Assimp::Importer& importer, const std::string& extension)
{
    for (size_t i = importer.GetImporterCount(); i-- > 0;) {
        Assimp::BaseImporter* reader = importer.GetImporter(i);
        std::set<std::string> extensions;
        reader->GetExtensionList(extensions);
        if (extensions.contains(extension)) continue;
        importer.UnregisterLoader(reader);
        delete reader;
    }
}

// Thrown to stop sending meshes once the reply is full.
struct TReplyFull {};

void SendScene(const aiScene& scene, TReplyWriter& reply, uint64_t limit)
{
    try {
        ForEachPlacedMesh(scene, [&reply](const TPlacedMesh& mesh) {
            if (!reply.Mesh(mesh)) throw TReplyFull();
        });
        reply.End();
    } catch (const TReplyFull&) {
        reply.Failure(TImportFailure::TooLarge, std::to_string(limit));
    }
}

} // namespace

void ImportChildMain(int argc, char** argv)
{
    TImportLimits limits;
    const std::string file = StartImportChild(argc, argv, limits);
    const std::string extension = LowerExtension(file);
    TReplyWriter reply(ReplyFd, limits.ReplyBytes);
    if (!IsForeignModel(file)) {
        reply.Failure(TImportFailure::Library, "No suitable reader found for the file format of file \"" + file + "\".");
    } else {
        // Never taken apart: the process ends as soon as the reply is out.
        auto& importer = *new Assimp::Importer;
        KeepReadersOf(importer, extension);
        auto* files = new TFolderIOSystem(file, extension == "gltf" || extension == "glb");
        importer.SetIOHandler(files);
        const aiScene* scene = importer.ReadFile(file, aiProcess_ValidateDataStructure);
        if (!files->Refused().empty()) reply.Failure(TImportFailure::Refused, files->Refused().front());
        else if (!scene) reply.Failure(TImportFailure::Library, importer.GetErrorString());
        else SendScene(*scene, reply, limits.ReplyBytes);
    }
    _exit(reply.Flush() ? 0 : 4);
}

} // namespace verdel
