#include "app/Clock.h"

namespace {
QDateTime &pinned()
{
    static QDateTime moment;
    return moment;
}
} // namespace

QDateTime Now()
{
    return pinned().isValid() ? pinned() : QDateTime::currentDateTime();
}

QDate Today()
{
    return Now().date();
}

void PinClock(const QDateTime &moment)
{
    pinned() = moment;
}

void UnpinClock()
{
    pinned() = QDateTime();
}
