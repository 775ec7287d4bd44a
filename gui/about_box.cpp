#include "gui/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/program_icon.h"

namespace verdel {

namespace {

constexpr int BoxWidth = 298;
constexpr int BoxHeight = 234;
constexpr int IconSize = 64;

QLabel* AddLabel(QWidget* Parent, const char* Name, const QString& Text, const QRect& Place)
{
    auto* label = new QLabel(Text, Parent);
    label->setObjectName(QLatin1String(Name));
    label->setGeometry(Place);
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* Parent)
        : QDialog(Parent,
                  Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(BoxWidth, BoxHeight);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(8, 8, BoxWidth - 16, 172);

    ProgramIcon = AddLabel(Panel1, "ProgramIcon", QString(), QRect(12, 12, IconSize, IconSize));
    ProgramIcon->setPixmap(PaintProgramIcon(IconSize));

    ProductName = AddLabel(Panel1, "ProductName", QStringLiteral("Verdel"), QRect(92, 14, 178, 34));
    QFont nameFont = ProductName->font();
    nameFont.setBold(true);
    nameFont.setPixelSize(24);
    ProductName->setFont(nameFont);

    Version = AddLabel(Panel1, "Version", QStringLiteral("Version 5.0"), QRect(92, 52, 178, 18));
    Copyright = AddLabel(Panel1, "Copyright", QStringLiteral("Made by the Verdel developers."), QRect(12, 88, 258, 18));
    Comments = AddLabel(Panel1, "Comments",
                        QStringLiteral("Grows plants, shells and fractals in three dimensions from a few "
                                       "lines of rewriting rules."),
                        QRect(12, 110, 258, 52));
    Comments->setWordWrap(true);
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry((BoxWidth - 75) / 2, BoxHeight - 25 - 16, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

void TAboutBox::OKButtonClick() { accept(); }

void TAboutBox::showEvent(QShowEvent* Event)
{
    const QRect area = screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
    QDialog::showEvent(Event);
}

} // namespace verdel
