#include "platform/qt/QtClock.h"

#include <QDateTime>

namespace quillbox::qt {

TLocalDateTime TQtClock::Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()};
}

} // namespace quillbox::qt
