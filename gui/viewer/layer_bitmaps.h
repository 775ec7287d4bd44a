// The twelve layer texture pictures, decoded at start-up.
#pragma once

#include <QString>

namespace verdel {

// Decodes "Text01.jpg" to "Text12.jpg" from TexturesFolder (ending in "/")
// into the application state's LayerBitmaps. A file that cannot be read
// leaves its layer empty; the files that failed are reported together, and
// the other layers are still loaded.
void LoadLayerBitmaps(const QString& TexturesFolder);

} // namespace verdel
