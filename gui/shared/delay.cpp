#include "gui/shared/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

namespace verdel {

namespace {

TDelayHandler DelayHandler;

} // namespace

void SetDelayHandler(TDelayHandler Handler) { DelayHandler = std::move(Handler); }

void DelayWithMessages(int Milliseconds)
{
    if (DelayHandler) {
        DelayHandler(Milliseconds);
        return;
    }
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const qint64 remaining = Milliseconds - timer.elapsed();
        if (remaining <= 0) return;
        // A short sleep between rounds keeps the wait from spinning a core.
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(remaining, 5)));
    }
}

} // namespace verdel
