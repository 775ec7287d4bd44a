// verdel-make-splash: paints the splash picture with Verdel's own renderer.
//   verdel-make-splash DATA_FOLDER
// renders the bundled tree.vd, textured, over an evening sky and writes
// DATA_FOLDER/splash5.jpg (400 x 312) with the program's name.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <iostream>

#include "engine/generation.h"
#include "render/gmp.h"
#include "render/image_files.h"
#include "viewer/view_preparation.h"

using namespace verdel;

namespace {

class TSilentPrompt : public TPrompt {
public:
    void Message(const std::string& Text) override { std::cerr << Text << '\n'; }
    TAnswer Confirm(const std::string&, bool) override { return TAnswer::Yes; }
};

constexpr int Width = 400;
constexpr int Height = 312;

// The tree, upright, textured, on black (black is then made transparent).
QImage RenderTree(const std::string& folder)
{
    TSilentPrompt prompt;
    auto definition = std::make_unique<TDefinitionState>();
    auto store = std::make_unique<TFaceStore>();
    const TGenerationResult result = GenerateModel(ReadLinesFromFile(folder + "/vdfiles/tree.vd"), TSolidSettings{},
                                                   prompt, *definition, *store, RandomSource);
    if (result.Status != TGenerationStatus::Done) throw std::runtime_error("tree.vd did not generate");
    auto gmp = std::make_unique<TGMP>();
    gmp->Resize(Width, Height);
    const auto textures = LoadLayerImages(folder + "/textures");
    for (int layer = 1; layer <= LayerCount; ++layer) gmp->SetLayerTexture(layer, textures[layer - 1]);
    // Stand the tree upright (turtle models grow along +z), then centre it a little left of the middle.
    gmp->RotateScene(*store, true, false, false, -1.5707964f, 0, 0);
    ComputeBounds(*store);
    const TViewPreparation view = PrepareView(*gmp, *store);
    store->TranslateX += 0.3f * view.ModelSize;
    store->TranslateY -= 0.1f * view.ModelSize;
    store->TranslateZ = -2.1f * view.ModelSize;
    gmp->RenderMode = rmShadedTexture;
    gmp->ClearToBackColor();
    gmp->RenderScene(*store);
    const TRgbImage frame = FrameToImage(gmp->Bitmap());
    QImage image(Width, Height, QImage::Format_ARGB32);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const TColor c = frame.Pixel(x, y);
            image.setPixel(x, y, c == 0 ? qRgba(0, 0, 0, 0) : qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
        }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: verdel-make-splash DATA_FOLDER\n";
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::string folder = argv[1];
    try {
        QImage splash(Width, Height, QImage::Format_RGB32);
        QPainter painter(&splash);
        QLinearGradient sky(0, 0, 0, Height);
        sky.setColorAt(0, QColor(24, 38, 74));
        sky.setColorAt(0.7, QColor(110, 128, 170));
        sky.setColorAt(1, QColor(222, 196, 150));
        painter.fillRect(splash.rect(), sky);
        painter.drawImage(0, 0, RenderTree(folder));

        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont title("DejaVu Serif");
        title.setPixelSize(54);
        title.setItalic(true);
        painter.setFont(title);
        painter.setPen(QColor(255, 248, 230));
        painter.drawText(QRect(0, 206, Width - 24, 70), Qt::AlignRight | Qt::AlignVCenter, "Verdel");
        QFont subtitle("DejaVu Sans");
        subtitle.setPixelSize(14);
        painter.setFont(subtitle);
        painter.drawText(QRect(0, 270, Width - 26, 24), Qt::AlignRight | Qt::AlignVCenter,
                         "Lindenmayer systems in three dimensions");
        painter.end();

        const QImage rgb = splash.convertToFormat(QImage::Format_RGB888);
        TRgbImage picture(Width, Height);
        for (int y = 0; y < Height; ++y)
            std::copy_n(rgb.constScanLine(y), Width * 3, &picture.Pixels[static_cast<size_t>(y) * Width * 3]);
        WriteJPEGFile(folder + "/splash5.jpg", picture, 90);
        std::cout << folder << "/splash5.jpg\n";
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
