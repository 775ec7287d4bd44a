#include "gui/generators/breed_cell.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

#include "gui/shared/dialogs.h"
#include "gui/shared/image_conversions.h"
#include "render/gmp.h"
#include "render/image_files.h"
#include "viewer/thumbnail.h"

namespace verdel {

// A thumbnail drawn on the worker thread for one request.
struct TCellPicture {
    uint64_t Request = 0;
    QImage Image;
    bool Drawn = false;
    int ObjectCount = 0;
    QString Reason;
    std::exception_ptr Fault; // out of memory, or another fault the generation cannot report itself
};

TBreedCell::TBreedCell(int number, QWidget* Parent)
        : QFrame(Parent), CellNumber(number),
          Thumbnail(std::make_unique<TThumbnailCell>(ThumbnailWidth, ThumbnailHeight))
{
    setObjectName(QString("Cell%1").arg(number));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(2);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    PictureLabel = new QLabel(this);
    PictureLabel->setObjectName("PictureLabel");
    PictureLabel->setFixedSize(ThumbnailWidth, ThumbnailHeight);
    PictureLabel->setAlignment(Qt::AlignCenter);
    PictureLabel->setWordWrap(true);
    PictureLabel->setStyleSheet("QLabel { background: black; color: #e0a0a0; }");
    PictureLabel->setCursor(number == 0 ? Qt::ArrowCursor : Qt::PointingHandCursor);
    PictureLabel->installEventFilter(this);
    CaptionLabel = new QLabel(number == 0 ? QString("Parent") : QString("Child %1").arg(number), this);
    CaptionLabel->setObjectName("CaptionLabel");
    Edit_Btn = new QToolButton(this);
    Edit_Btn->setObjectName("Edit_Btn");
    Edit_Btn->setText("Edit");
    Edit_Btn->setToolTip("Open this definition in an editor");
    View_Btn = new QToolButton(this);
    View_Btn->setObjectName("View_Btn");
    View_Btn->setText("View");
    View_Btn->setToolTip("Show this model in the viewer");
    connect(Edit_Btn, &QToolButton::clicked, this, [this] { emit EditRequested(CellNumber); });
    connect(View_Btn, &QToolButton::clicked, this, [this] { emit ViewRequested(CellNumber); });

    auto* row = new QHBoxLayout;
    row->addWidget(CaptionLabel, 1);
    row->addWidget(Edit_Btn);
    row->addWidget(View_Btn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);
    layout->addWidget(PictureLabel);
    layout->addLayout(row);
    UpdateFrame();
}

TBreedCell::~TBreedCell()
{
    Worker.Drop();
    Worker.WaitIdle();
}

void TBreedCell::ShowDefinition(const TLines& Lines, uint32_t Seed, const TSolidSettings& Solids)
{
    auto picture = std::make_shared<TCellPicture>();
    picture->Request = ++Request;
    Pending = true;
    IsDrawn = false;
    ReasonText.clear();
    Shown = QImage();
    PictureLabel->setPixmap(QPixmap());
    PictureLabel->setText("Drawing...");
    Worker.Post([this, picture, Lines, Seed, Solids] {
        try {
            const TThumbnail thumbnail = Thumbnail->Render(Lines, Solids, Seed);
            picture->Image = ToQImage(FrameToImage(Thumbnail->Gmp->Bitmap()));
            picture->Drawn = thumbnail.Drawn;
            picture->ObjectCount = thumbnail.ObjectCount;
            picture->Reason = QString::fromStdString(thumbnail.Reason);
        } catch (...) {
            picture->Drawn = false;
            picture->Fault = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this, picture] { PictureReady(picture); }, Qt::QueuedConnection);
    });
}

void TBreedCell::PictureReady(const std::shared_ptr<TCellPicture>& Picture)
{
    if (Picture->Request != Request) return;
    Pending = false;
    if (Picture->Fault) Picture->Reason = QString::fromStdString(FaultText(Picture->Fault));
    IsDrawn = Picture->Drawn;
    ReasonText = Picture->Reason;
    const QString caption = CellNumber == 0 ? QString("Parent") : QString("Child %1").arg(CellNumber);
    // The object count in brackets: the caption shares its row with two buttons.
    CaptionLabel->setText(IsDrawn ? QString("%1 (%2)").arg(caption).arg(Picture->ObjectCount) : caption);
    CaptionLabel->setToolTip(IsDrawn ? QString("%1 objects").arg(Picture->ObjectCount) : QString());
    setToolTip(ReasonText);
    if (IsDrawn) Shown = Picture->Image;
    if (IsDrawn && Picture->ObjectCount > 0) {
        PictureLabel->setPixmap(QPixmap::fromImage(Shown));
    } else {
        // A picture that cannot be drawn, or is empty, says why, as the viewer does.
        PictureLabel->setPixmap(QPixmap());
        PictureLabel->setText(IsDrawn ? QString("No objects: the production has no drawing commands") : ReasonText);
    }
}

void TBreedCell::FinishPending()
{
    while (Pending) {
        Worker.WaitIdle();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

void TBreedCell::SetMarked(bool marked)
{
    Marked = marked;
    UpdateFrame();
}

void TBreedCell::UpdateFrame()
{
    // The parent framed in green, a marked second parent in orange.
    const char* colour = Marked ? "#f0a000" : CellNumber == 0 ? "#40a040" : "#808080";
    setStyleSheet(QString("#Cell%1 { border: 2px solid %2; }").arg(CellNumber).arg(colour));
}

bool TBreedCell::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == PictureLabel && Event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(Event);
        if (mouse->button() == Qt::LeftButton) emit Clicked(CellNumber, mouse->modifiers() & Qt::ControlModifier);
        return true;
    }
    return QFrame::eventFilter(Watched, Event);
}

} // namespace verdel
