#pragma once
// The machine's local date and time.

#include "core/quotes/Clock.h"

class SystemClock final : public Clock {
public:
    LocalDateTime Now() const override;
};
