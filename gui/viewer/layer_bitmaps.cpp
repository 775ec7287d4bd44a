#include "gui/viewer/layer_bitmaps.h"

#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "render/jpeg_image.h"

namespace verdel {

void LoadLayerBitmaps(const QString& TexturesFolder)
{
    std::string failures;
    for (int layer = 1; layer <= 12; ++layer) {
        const QString name = TexturesFolder + QString("Text%1.jpg").arg(layer, 2, 10, QChar('0'));
        try {
            AppState.LayerBitmaps[static_cast<size_t>(layer)] = ReadJPEGFile(name.toStdString());
            AppState.LayerBitmapFiles[static_cast<size_t>(layer)] = name;
        } catch (const std::exception& error) {
            AppState.LayerBitmaps[static_cast<size_t>(layer)] = TRgbImage();
            AppState.LayerBitmapFiles[static_cast<size_t>(layer)].clear();
            failures += std::string(failures.empty() ? "" : "\r\n") + error.what();
        }
    }
    if (!failures.empty()) Dialogs().Error(failures + "\r\nThese layers are drawn with a white texture.");
}

} // namespace verdel
