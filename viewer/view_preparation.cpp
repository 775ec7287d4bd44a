#include "viewer/view_preparation.h"

#include <cmath>

namespace verdel {

TViewPreparation PrepareView(TFaceStore& Store)
{
    TViewPreparation view;
    for (int layer = 1; layer <= LayerCount; ++layer) view.LayerButtonVisible[layer - 1] = Store.LayerUsed[layer];

    // Extents are measured from the origin, which the bounds always contain.
    const float extentX = std::fabs(Store.MinX) + Store.MaxX;
    const float extentY = std::fabs(Store.MinY) + Store.MaxY;
    const float extentZ = std::fabs(Store.MinZ) + Store.MaxZ;
    view.ModelSize = extentX >= extentY ? extentX : extentY;
    if (extentZ >= view.ModelSize) view.ModelSize = extentZ;

    Store.TranslateX = -(Store.MaxX - extentX / 2);
    Store.TranslateY = -(Store.MaxY - extentY / 2);
    if (view.ModelSize == 0) view.ModelSize = 1;
    // The z translation ignores where the box lies in z.
    Store.TranslateZ = -2 * view.ModelSize;
    return view;
}

void UseViewerLight(TGMP& Gmp) { Gmp.SetLightSource(ViewerLightPosition, ViewerLightTarget); }

TViewPreparation PrepareView(TGMP& Gmp, TFaceStore& Store)
{
    UseViewerLight(Gmp);
    return PrepareView(Store);
}

} // namespace verdel
