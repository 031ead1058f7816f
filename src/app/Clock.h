#pragma once

#include <QDate>
#include <QDateTime>

// "Today" and "now" for the whole program.  Tests pin the clock; the program
// reads the system clock.
QDateTime Now();
QDate Today();

void PinClock(const QDateTime &moment);
void UnpinClock();
