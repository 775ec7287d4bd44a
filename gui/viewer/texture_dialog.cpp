#include "gui/viewer/texture_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

#include "gui/shared/app_state.h"
#include "gui/shared/dialogs.h"
#include "gui/shared/image_conversions.h"
#include "render/jpeg_image.h"

namespace verdel {

namespace {

const QString Caption = QStringLiteral("Choose Texture");

} // namespace

TTextureDialog::TTextureDialog(QWidget* Parent) : QDialog(Parent)
{
    setObjectName("TextureDialog");
    setWindowTitle(Caption);
    setFixedSize(342, 224);

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName("DriveComboBox1");
    DriveComboBox1->setGeometry(8, 8, 113, 24);
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady()) DriveComboBox1->addItem(volume.rootPath());
    if (DriveComboBox1->findText("/") < 0) DriveComboBox1->insertItem(0, "/");

    Folders = new QFileSystemModel(this);
    Folders->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
    Folders->setRootPath("/");
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DirectoryListBox1->setGeometry(8, 40, 113, 153);
    DirectoryListBox1->setModel(Folders);
    for (int column = 1; column < Folders->columnCount(); ++column) DirectoryListBox1->hideColumn(column);
    // Narrow steps and whole names: a deep folder scrolls sideways instead of shrinking to "...".
    DirectoryListBox1->header()->hide();
    DirectoryListBox1->setIndentation(8);
    DirectoryListBox1->setTextElideMode(Qt::ElideNone);
    DirectoryListBox1->header()->setStretchLastSection(false);
    DirectoryListBox1->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    FileEdit = new QLineEdit("*.*", this);
    FileEdit->setObjectName("FileEdit");
    FileEdit->setGeometry(128, 8, 105, 24);
    FileListBox1 = new QListWidget(this);
    FileListBox1->setObjectName("FileListBox1");
    FileListBox1->setGeometry(128, 40, 105, 153);

    Panel1 = new QFrame(this);
    Panel1->setObjectName("Panel1");
    Panel1->setGeometry(240, 8, 89, 97);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1 = new QLabel(Panel1);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 89, 97);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop); // 1:1 from the top-left corner

    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(248, 136, 75, 25);
    Button2 = new QPushButton("Cancel", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(248, 168, 75, 25);

    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this, &TTextureDialog::DriveChanged);
    connect(DirectoryListBox1, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        CurrentFolder = Folders->filePath(index);
        ListFiles();
    });
    connect(FileEdit, &QLineEdit::editingFinished, this, &TTextureDialog::ListFiles);
    connect(FileListBox1, &QListWidget::itemClicked, this, &TTextureDialog::FileListBox1Click);
    connect(Button1, &QPushButton::clicked, this, &TTextureDialog::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TTextureDialog::Button2Click);
}

void TTextureDialog::DriveChanged(int Index)
{
    const QString root = DriveComboBox1->itemText(Index);
    if (!root.isEmpty() && !CurrentFolder.startsWith(root)) SetFolder(root);
}

void TTextureDialog::SetFolder(const QString& Folder)
{
    CurrentFolder = QDir(Folder).absolutePath();
    const QModelIndex index = Folders->index(CurrentFolder);
    DirectoryListBox1->setCurrentIndex(index);
    DirectoryListBox1->scrollTo(index);
    DirectoryListBox1->expand(index);
    ListFiles();
}

void TTextureDialog::ListFiles()
{
    FileListBox1->clear();
    const QString mask = FileEdit->text().trimmed().isEmpty() ? "*.*" : FileEdit->text().trimmed();
    // "*.*" matches every file, also one without an extension.
    const QStringList patterns = mask == "*.*" ? QStringList{"*"} : mask.split(';', Qt::SkipEmptyParts);
    FileListBox1->addItems(QDir(CurrentFolder).entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void TTextureDialog::FileListBox1Click()
{
    if (QListWidgetItem* item = FileListBox1->currentItem()) Preview(QDir(CurrentFolder).filePath(item->text()));
}

void TTextureDialog::Preview(const QString& FileName)
{
    const QString suffix = QFileInfo(FileName).suffix();
    const QString kind = ("." + suffix).toUpper().left(4);
    QImage picture;
    TPreviewKind pictureKind = TPreviewKind::Bitmap;
    if (kind == ".JPG") {
        try {
            picture = ToQImage(ReadJPEGFile(FileName.toStdString()));
        } catch (const std::exception& error) {
            Dialogs().Error(error.what());
            return;
        }
    } else if (kind == ".BMP" || kind == ".ICO") {
        if (!picture.load(FileName, kind == ".BMP" ? "BMP" : "ICO")) {
            Dialogs().Error(FileName.toStdString() + ": the picture cannot be read");
            return;
        }
        if (kind == ".ICO") {
            setWindowIcon(QIcon(QPixmap::fromImage(picture)));
            pictureKind = TPreviewKind::Other;
        }
    } else if (kind == ".WMF" || kind == ".EMF") {
        pictureKind = TPreviewKind::Other; // shown empty; no bitmap to take
    } else {
        return; // other files leave the preview as it was
    }
    PreviewPicture = picture;
    PreviewKind = pictureKind;
    PreviewFile = FileName;
    Image1->setPixmap(QPixmap::fromImage(picture));
    // The caption names the size of the bitmap file previewed last.
    setWindowTitle(kind == ".BMP" ? QString("%1 (%2 x %3)").arg(Caption).arg(picture.width()).arg(picture.height())
                                  : Caption);
}

void TTextureDialog::Button1Click()
{
    bool valid = false;
    const QString& button = AppState.CurrentTextureButton;
    const int layer = button.startsWith("BB") ? button.mid(2).toInt(&valid) : 0;
    if (valid && layer >= 1 && layer <= 12) {
        const bool bitmap = PreviewKind == TPreviewKind::Bitmap;
        AppState.LayerBitmaps[static_cast<size_t>(layer)] = bitmap ? FromQImage(PreviewPicture) : TRgbImage();
        AppState.LayerBitmapFiles[static_cast<size_t>(layer)] = bitmap ? PreviewFile : QString();
    }
    accept();
}

void TTextureDialog::Button2Click() { reject(); }

} // namespace verdel
