#include "gui/editor/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

namespace verdel {

namespace {

QTextDocument::FindFlags Flags(const QCheckBox* matchCase)
{
    return matchCase->isChecked() ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
}

bool SelectionMatches(const QTextCursor& cursor, const QString& text, Qt::CaseSensitivity sensitivity)
{
    return cursor.hasSelection() && cursor.selectedText().compare(text, sensitivity) == 0;
}

} // namespace

TFindDialog::TFindDialog(std::function<QPlainTextEdit*()> Target, QWidget* Parent)
        : QDialog(Parent, Qt::Tool), Target(std::move(Target))
{
    setObjectName("FindDialog");
    setWindowTitle("Find");
    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName("FindEdit");
    ReplaceEdit = new QLineEdit(this);
    ReplaceEdit->setObjectName("ReplaceEdit");
    MatchCase = new QCheckBox("Match &case", this);
    Status = new QLabel(this);
    Status->setObjectName("FindStatus");
    ReplaceLabel = new QLabel("Replace &with:", this);
    ReplaceLabel->setBuddy(ReplaceEdit);
    auto* findLabel = new QLabel("Fi&nd:", this);
    findLabel->setBuddy(FindEdit);
    auto* next = new QPushButton("&Find Next", this);
    next->setDefault(true);
    ReplaceButton = new QPushButton("&Replace", this);
    ReplaceAllButton = new QPushButton("Replace &All", this);
    auto* close = new QPushButton("Close", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(FindEdit, 0, 1);
    grid->addWidget(next, 0, 2);
    grid->addWidget(ReplaceLabel, 1, 0);
    grid->addWidget(ReplaceEdit, 1, 1);
    grid->addWidget(ReplaceButton, 1, 2);
    grid->addWidget(MatchCase, 2, 1);
    grid->addWidget(ReplaceAllButton, 2, 2);
    grid->addWidget(Status, 3, 0, 1, 2);
    grid->addWidget(close, 3, 2);
    grid->setColumnMinimumWidth(1, 220);

    connect(next, &QPushButton::clicked, this, &TFindDialog::FindNext);
    connect(ReplaceButton, &QPushButton::clicked, this, &TFindDialog::ReplaceOne);
    connect(ReplaceAllButton, &QPushButton::clicked, this, &TFindDialog::ReplaceAll);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
}

void TFindDialog::Open(bool WithReplace)
{
    setWindowTitle(WithReplace ? "Replace" : "Find");
    for (QWidget* widget : {static_cast<QWidget*>(ReplaceLabel), static_cast<QWidget*>(ReplaceEdit),
                            static_cast<QWidget*>(ReplaceButton), static_cast<QWidget*>(ReplaceAllButton)})
        widget->setVisible(WithReplace);
    // The editor's selection, when on one line, is what the user means to look for.
    if (QPlainTextEdit* edit = Target()) {
        const QString selected = edit->textCursor().selectedText();
        if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) FindEdit->setText(selected);
    }
    Status->clear();
    show();
    raise();
    activateWindow();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

bool TFindDialog::FindNext()
{
    QPlainTextEdit* edit = Target();
    const QString text = FindEdit->text();
    if (!edit || text.isEmpty()) return false;
    QTextDocument* document = edit->document();
    QTextCursor found = document->find(text, edit->textCursor(), Flags(MatchCase));
    if (found.isNull()) found = document->find(text, 0, Flags(MatchCase)); // wrap round
    if (found.isNull()) {
        Status->setText("\"" + text + "\" not found");
        return false;
    }
    Status->clear();
    edit->setTextCursor(found);
    return true;
}

void TFindDialog::ReplaceOne()
{
    QPlainTextEdit* edit = Target();
    if (!edit) return;
    const Qt::CaseSensitivity sensitivity = MatchCase->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QTextCursor cursor = edit->textCursor();
    if (SelectionMatches(cursor, FindEdit->text(), sensitivity)) {
        cursor.insertText(ReplaceEdit->text());
        edit->setTextCursor(cursor);
    }
    FindNext();
}

int TFindDialog::ReplaceAll()
{
    QPlainTextEdit* edit = Target();
    const QString text = FindEdit->text();
    if (!edit || text.isEmpty()) return 0;
    QTextDocument* document = edit->document();
    QTextCursor step(document);
    step.beginEditBlock();
    int count = 0;
    for (QTextCursor found = document->find(text, 0, Flags(MatchCase)); !found.isNull();
         found = document->find(text, found, Flags(MatchCase))) {
        found.insertText(ReplaceEdit->text());
        ++count;
    }
    step.endEditBlock();
    Status->setText(QString("%1 replaced").arg(count));
    return count;
}

} // namespace verdel
