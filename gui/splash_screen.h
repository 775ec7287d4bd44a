// The splash window shown while the program starts.
#pragma once

#include <QWidget>

class QLabel;

namespace verdel {

// A borderless white window centred on the screen: "splash5.jpg" from the
// executable's folder when it exists, else the program's name in large type.
class TSplashForm : public QWidget {
    Q_OBJECT
public:
    explicit TSplashForm(const QString& ProgramFolder, QWidget* Parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
};

} // namespace verdel
