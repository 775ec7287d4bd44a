#include "gui/shared/app_state.h"

namespace verdel {

TFaceStore FaceStore;
TFaceStore OutlineStore;
TDefinitionState DefinitionState;
TSettings Settings;
TProgramFolders ProgramFolders;
TFileHistory FileHistory;
int LastObjectCount = 0;
int ProductionLength = 0;
int LastNonFiniteObjects = 0;
std::string CurrentFileName;
std::string LastDefinitionText;
uint32_t LastGenerationSeed = 0;
std::array<TRgbImage, 13> LayerBitmaps;
std::array<QString, 13> LayerBitmapFiles;
QString CurrentTextureButton;
TMainForm* MainForm = nullptr;
TWorkspace* Workspace = nullptr;
TViewForm* ViewForm = nullptr;
TGenOpsForm* GenOpsForm = nullptr;
TTextureDialog* TextureDialog = nullptr;

void RecordGeneration(const TGenerationResult& Result)
{
    LastObjectCount = Result.ObjectCount;
    ProductionLength = Result.ProductionLength;
    LastNonFiniteObjects = Result.LeftOutObjects;
    LastDefinitionText = Result.DefinitionText;
    LastGenerationSeed = Result.Seed;
}

} // namespace verdel
