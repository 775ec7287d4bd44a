// The texture chooser: pick a picture file as the texture of one layer.
#pragma once

#include <QDialog>
#include <QImage>

class QComboBox;
class QFileSystemModel;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

namespace verdel {

// Made with the viewer and shown modally by its layer buttons ("Choose Texture"):
// a click on a file previews it; OK gives the previewed picture to the layer
// named by CurrentTextureButton ("BB01" .. "BB12"); Cancel changes nothing.
class TTextureDialog : public QDialog {
    Q_OBJECT
public:
    explicit TTextureDialog(QWidget* Parent = nullptr);

    // Shows Folder in the folder and file lists.
    void SetFolder(const QString& Folder);
    QString Folder() const { return CurrentFolder; }

    // Previews the file selected in the file list.
    void FileListBox1Click();
    // Previews a file by its extension: .BMP and .ICO pictures, .JPG through
    // libjpeg, .WMF and .EMF as an empty picture; other files change nothing.
    void Preview(const QString& FileName);
    void Button1Click();
    void Button2Click();

    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QLineEdit* FileEdit;
    QListWidget* FileListBox1;
    QFrame* Panel1;
    QLabel* Image1;
    QPushButton* Button1;
    QPushButton* Button2;

    // What the preview holds: a picture from a bitmap or JPEG file, or something that is no bitmap.
    enum class TPreviewKind { None, Bitmap, Other };
    TPreviewKind PreviewKind = TPreviewKind::None;
    QImage PreviewPicture;
    QString PreviewFile;

private:
    void ListFiles();
    void DriveChanged(int Index);

    QFileSystemModel* Folders;
    QString CurrentFolder;
};

} // namespace verdel
