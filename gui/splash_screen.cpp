#include "gui/splash_screen.h"

#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <cmath>

#include "gui/shared/image_conversions.h"

namespace verdel {

TSplashForm::TSplashForm(const QString& ProgramFolder, QWidget* Parent)
        : QWidget(Parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName("SplashForm");
    setFixedSize(400, 312);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = new QLabel(panel);
    Image1->setObjectName("Image1");
    Image1->setScaledContents(true);
    Label1 = new QLabel("Verdel 4", panel);
    Label1->setObjectName("Label1");
    QFont title("Arial Narrow");
    title.setItalic(true);
    title.setPixelSize(64);
    Label1->setFont(title);
    Label1->setAlignment(Qt::AlignCenter);
    Label2 = new QLabel("Lindenmayer systems in three dimensions", panel);
    Label2->setObjectName("Label2");
    QFont credit("Arial Narrow");
    credit.setItalic(true);
    credit.setPixelSize(32);
    Label2->setFont(credit);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignCenter);

    auto* inner = new QVBoxLayout(panel);
    inner->addWidget(Image1);
    inner->addWidget(Label1);
    inner->addWidget(Label2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(panel);

    const QImage picture = LoadJpegImage(ProgramFolder + "splash5.jpg");
    const bool hasPicture = !picture.isNull();
    if (hasPicture) {
        Image1->setPixmap(QPixmap::fromImage(picture));
        inner->setContentsMargins(0, 0, 0, 0);
    }
    Image1->setVisible(hasPicture);
    Label1->setVisible(!hasPicture);
    Label2->setVisible(!hasPicture);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        move(static_cast<int>(std::nearbyint((size.width() - width()) / 2.0)),
             static_cast<int>(std::nearbyint((size.height() - height()) / 2.0)));
    }
}

} // namespace verdel
