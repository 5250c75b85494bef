#pragma once

#include <QDateTime>

// Source of the current local date and time. The program never asks the system clock
// directly, so tests can run on a clock of their own.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};
