// The clock text of the status bars.
#pragma once

#include <QString>
#include <QTime>

namespace verdel {

// The time of day in the locale's long format, without a time zone (the clocks of the status bars).
QString LongTimeText(const QTime& Time);

} // namespace verdel
