// The Parameters panel: a slider for each "#define NAME VALUE [lo, hi]" of an
// extended definition and a field for each constant without a range.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

class QFormLayout;
class QLabel;
class QLineEdit;
class QSlider;

namespace verdel {

class TDefinitionEdit;

// Follows the text of one editor. Moving a slider or confirming a field
// rewrites that constant's line in the text, which regenerates the model as
// any edit does; one drag of a slider is one undo step.
class TParametersPanel : public QWidget {
    Q_OBJECT
public:
    // Positions of a slider between the ends of its range.
    static constexpr int SliderSteps = 1000;

    explicit TParametersPanel(QWidget* Parent = nullptr);

    // Follows Edit's text (null: no editor).
    void Attach(TDefinitionEdit* Edit);
    // Reads the constants again: the rows are made anew when the names or
    // ranges changed, else only their values follow the text.
    void Refresh();

    // The row of constant Name (tests): its slider or its field, else null.
    QSlider* Slider(const QString& Name) const;
    QLineEdit* Field(const QString& Name) const;

signals:
    // A value was written into the text.
    void Written();

public:
    // The value a slider position stands for, written with as many decimals as one position needs.
    static QString ValueText(double Low, double High, int Position);

private:
    struct TRow {
        QString Name;
        int Line = 0; // counted from 1
        bool Ranged = false;
        double Low = 0, High = 0;
        QSlider* Slider = nullptr;
        QLineEdit* Field = nullptr;
        QLabel* Caption = nullptr; // a slider's name and value
    };
    void Rebuild(std::vector<TRow> Rows);
    void AddRow(TRow& Row);
    // Writes Value into Row's line: a step of its own, or joined to the drag's last one.
    void WriteValue(const TRow& Row, const QString& Value, bool Join);

    QPointer<TDefinitionEdit> Edit;
    QMetaObject::Connection Watch;
    std::vector<TRow> Rows;
    QFormLayout* Form;
    QLabel* Hint;
    bool Writing = false;     // the panel itself is changing the text
    bool Updating = false;    // the panel is moving its sliders to the text's values
    bool DragWritten = false; // the drag under way has written its first step
};

} // namespace verdel
