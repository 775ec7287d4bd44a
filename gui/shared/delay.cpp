#include "gui/shared/delay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <algorithm>

#include "gui/shared/app_state.h"

namespace verdel {

void DelayWithMessages(int Milliseconds)
{
    if (AppState.DelayHandler) {
        AppState.DelayHandler(Milliseconds);
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
