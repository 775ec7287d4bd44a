#include "gui/shared/clock_text.h"

#include <QLocale>
#include <QRegularExpression>

namespace verdel {

QString LongTimeText(const QTime& Time)
{
    // The locale's long format without its time-zone part, which the panel has no room for.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression("\\s*t+\\s*"));
    return QLocale::system().toString(Time, format.trimmed());
}

} // namespace verdel
