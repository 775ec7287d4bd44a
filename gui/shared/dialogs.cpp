#include "gui/shared/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <new>

#include "gui/shared/app_state.h"
#include "gui/shared/workspace.h"

namespace verdel {

namespace {

// A file dialog wide enough to show names, sizes and dates without cutting them.
void FitToContents(QFileDialog& dialog) { dialog.resize(dialog.sizeHint().expandedTo(QSize(760, 480))); }

// Qt's message boxes and file and colour dialogs.
class TStandardDialogs : public TDialogs {
public:
    void Message(const std::string& Text) override
    {
        QMessageBox::information(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                                 DisplayText(Text));
    }

    TAnswer Confirm(const std::string& Text, bool WithCancel) override
    {
        const auto buttons =
            WithCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel : QMessageBox::Yes | QMessageBox::No;
        const auto answer = QMessageBox::question(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                                                  DisplayText(Text), buttons);
        if (answer == QMessageBox::Yes) return TAnswer::Yes;
        return answer == QMessageBox::No ? TAnswer::No : TAnswer::Cancel;
    }

    void BeginBusy(const std::string& StatusText) override
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ShowStatus(QString::fromStdString(StatusText));
    }

    void EndBusy() override { QApplication::restoreOverrideCursor(); }

    QString OpenFileName(QWidget* Parent, const QString& Folder, const QString& Filter) override
    {
        QFileDialog dialog(Parent, "Open", Folder, Filter);
        dialog.setFileMode(QFileDialog::ExistingFile);
        FitToContents(dialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    }

    QString SaveFileName(QWidget* Parent, const QString& Folder, const QString& Proposed, const QStringList& Filters,
                         int& FilterIndex) override
    {
        QFileDialog dialog(Parent, "Save As", Folder);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        FitToContents(dialog);
        // The questions about existing files are the caller's.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (!Filters.isEmpty()) {
            dialog.setNameFilters(Filters);
            dialog.selectNameFilter(Filters.value(FilterIndex));
        }
        dialog.selectFile(Proposed);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        FilterIndex = std::max(0, static_cast<int>(Filters.indexOf(dialog.selectedNameFilter())));
        return dialog.selectedFiles().first();
    }

    std::optional<QColor> ChooseColor(QWidget* Parent, const QColor& Initial) override
    {
        const QColor colour = QColorDialog::getColor(Initial, Parent);
        if (!colour.isValid()) return std::nullopt;
        return colour;
    }

    void Error(const std::string& Text) override
    {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), DisplayText(Text));
    }
};

} // namespace

TDialogs& Dialogs()
{
    static TStandardDialogs standard; // holds nothing: only its calls
    return AppState.Dialogs ? *AppState.Dialogs : standard;
}

void SetDialogs(TDialogs* Replacement) { AppState.Dialogs = Replacement; }

std::string FaultText(const std::exception_ptr& Fault)
{
    try {
        std::rethrow_exception(Fault);
    } catch (const std::bad_alloc&) {
        return "Out of memory: the work needed more memory than the system gave, and was abandoned";
    } catch (const std::exception& error) {
        return std::string("Unexpected fault, the work was abandoned: ") + error.what();
    } catch (...) {
        return "Unexpected fault, the work was abandoned";
    }
}

void ShowStatus(const QString& Text)
{
    if (AppState.Workspace) AppState.Workspace->ShowStatus(Text);
}

void ShowWarning(const QString& Text)
{
    if (AppState.Workspace) AppState.Workspace->ShowWarning(Text);
}

bool MayOverwrite(const QString& Name)
{
    return !QFileInfo::exists(Name) || Dialogs().Confirm("OK to overwrite " + Name.toStdString(), true) == TAnswer::Yes;
}

bool EnterFolder(const QString& Folder)
{
    if (QDir::setCurrent(Folder)) return true;
    Dialogs().Error(Folder.toStdString() + ": the folder cannot be opened");
    return false;
}

QString DisplayText(const std::string& Text)
{
    QString text = QString::fromStdString(Text);
    text.replace("\r\n", "\n");
    return text;
}

} // namespace verdel
