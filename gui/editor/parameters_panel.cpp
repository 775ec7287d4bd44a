#include "gui/editor/parameters_panel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSlider>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "engine/extended_definition.h"
#include "gui/editor/definition_text_edit.h"
#include "gui/shared/text_codec.h"

namespace verdel {

namespace {

// The value of a "#define" line as written (an expression may stand there).
QString WrittenValue(const QString& Line)
{
    static const QRegularExpression define(R"(^#define\s+\S+?\s+(.*?)\s*(\[.*)?$)");
    const QRegularExpressionMatch match = define.match(Line);
    return match.hasMatch() ? match.captured(1) : QString();
}

int SliderPosition(double Low, double High, double Value)
{
    if (!(High > Low)) return 0;
    const double share = (Value - Low) / (High - Low);
    return static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * TParametersPanel::SliderSteps));
}

} // namespace

TParametersPanel::TParametersPanel(QWidget* Parent) : QWidget(Parent)
{
    setObjectName("ParametersPanel");
    auto* layout = new QVBoxLayout(this);
    Hint = new QLabel("The #define lines of an extended definition show here as sliders and fields.");
    Hint->setObjectName("ParametersHint");
    Hint->setWordWrap(true);
    layout->addWidget(Hint);
    Form = new QFormLayout;
    layout->addLayout(Form);
    layout->addStretch();
}

QString TParametersPanel::ValueText(double Low, double High, int Position)
{
    const long double value = Low + (static_cast<long double>(High) - Low) * Position / SliderSteps;
    const double step = (High - Low) / SliderSteps;
    const int decimals = step > 0 ? std::clamp(static_cast<int>(std::ceil(-std::log10(step))), 0, 9) : 0;
    QString text = QString::number(static_cast<double>(value), 'f', decimals);
    if (text.contains('.')) {
        while (text.endsWith('0')) text.chop(1);
        if (text.endsWith('.')) text.chop(1);
    }
    return text == "-0" ? QString("0") : text;
}

void TParametersPanel::Attach(TDefinitionEdit* Editor)
{
    if (Edit == Editor && Editor) return;
    disconnect(Watch);
    Edit = Editor;
    if (Editor)
        Watch = connect(Editor->document(), &QTextDocument::contentsChanged, this, [this] {
            if (!Writing) Refresh();
        });
    Refresh();
}

void TParametersPanel::Refresh()
{
    std::vector<TRow> rows;
    TLines lines;
    if (Edit) lines = EngineLines(Edit->toPlainText());
    if (!IsExtendedDefinition(lines)) {
        Rebuild({});
        return;
    }
    TValidation validation;
    const std::unique_ptr<TExtendedProgram> program = CompileExtendedDefinition(lines, validation);
    if (!program) return; // a text being typed: the rows stay as they were
    for (const TConstantLine& constant : program->ConstantLines)
        rows.push_back(
            {QString::fromStdString(constant.Name), constant.Line, constant.Ranged, constant.Low, constant.High});
    const bool same = std::equal(rows.begin(), rows.end(), Rows.begin(), Rows.end(), [](const TRow& a, const TRow& b) {
        return a.Name == b.Name && a.Line == b.Line && a.Ranged == b.Ranged && a.Low == b.Low && a.High == b.High;
    });
    if (!same) Rebuild(std::move(rows));
    // The rows follow the text's values.
    Updating = true;
    for (size_t i = 0; i < Rows.size(); ++i) {
        const TConstantLine& constant = program->ConstantLines[i];
        const QString written = WrittenValue(Edit->document()->findBlockByNumber(Rows[i].Line - 1).text());
        if (Rows[i].Caption) Rows[i].Caption->setText(Rows[i].Name + " = " + written);
        if (Rows[i].Slider && !Rows[i].Slider->isSliderDown())
            Rows[i].Slider->setValue(SliderPosition(constant.Low, constant.High, constant.Value));
        if (Rows[i].Field && !Rows[i].Field->hasFocus()) Rows[i].Field->setText(written);
    }
    Updating = false;
}

void TParametersPanel::Rebuild(std::vector<TRow> NewRows)
{
    while (Form->rowCount() > 0) Form->removeRow(0);
    Rows = std::move(NewRows);
    for (TRow& row : Rows) AddRow(row);
    Hint->setVisible(Rows.empty());
}

void TParametersPanel::AddRow(TRow& Row)
{
    const QString name = Row.Name;
    if (!Row.Ranged) {
        Row.Field = new QLineEdit;
        Row.Field->setObjectName("Field_" + name);
        Row.Field->setToolTip(QString("#define %1: Enter writes the value into the definition").arg(name));
        connect(Row.Field, &QLineEdit::editingFinished, this, [this, name] {
            if (!Edit) return;
            for (const TRow& row : Rows)
                if (row.Name == name && row.Field->text().trimmed() !=
                                            WrittenValue(Edit->document()->findBlockByNumber(row.Line - 1).text()))
                    WriteValue(row, row.Field->text().trimmed(), false);
        });
        Form->addRow(name, Row.Field);
        return;
    }
    Row.Slider = new QSlider(Qt::Horizontal);
    Row.Slider->setObjectName("Slider_" + name);
    Row.Slider->setRange(0, SliderSteps);
    Row.Slider->setToolTip(QString("#define %1 [%2, %3]").arg(name).arg(Row.Low).arg(Row.High));
    connect(Row.Slider, &QSlider::sliderPressed, this, [this] { DragWritten = false; });
    connect(Row.Slider, &QSlider::valueChanged, this, [this, name](int Position) {
        if (Updating || !Edit) return;
        for (const TRow& row : Rows) {
            if (row.Name != name) continue;
            // A drag is one undo step: its later positions join its first.
            const bool drag = row.Slider->isSliderDown();
            WriteValue(row, ValueText(row.Low, row.High, Position), drag && DragWritten);
            DragWritten = drag;
        }
    });
    Row.Caption = new QLabel(name);
    Row.Caption->setMinimumWidth(fontMetrics().horizontalAdvance(name + " = -000.000"));
    Form->addRow(Row.Caption, Row.Slider);
}

void TParametersPanel::WriteValue(const TRow& Row, const QString& Value, bool Join)
{
    TLines lines = EngineLines(Edit->toPlainText());
    std::string error;
    if (Row.Line < 1 || Row.Line > static_cast<int>(lines.size())) return;
    TLines line{lines[static_cast<size_t>(Row.Line - 1)], "#extended"};
    if (!OverrideDefine(line, Row.Name.toStdString(), EngineText(Value), error)) return;
    QTextCursor cursor(Edit->document()->findBlockByNumber(Row.Line - 1));
    Writing = true;
    if (Join) cursor.joinPreviousEditBlock();
    else cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(MemoText({line[0]}));
    cursor.endEditBlock();
    Writing = false;
    Refresh(); // the captions show the value written
    emit Written();
}

QSlider* TParametersPanel::Slider(const QString& Name) const
{
    for (const TRow& row : Rows)
        if (row.Name == Name) return row.Slider;
    return nullptr;
}

QLineEdit* TParametersPanel::Field(const QString& Name) const
{
    for (const TRow& row : Rows)
        if (row.Name == Name) return row.Field;
    return nullptr;
}

} // namespace verdel
