#pragma once
// "Now" for the option calendar and the report's time stamps. Injected so that tests and
// `quillon-cli --now` can fix it.

#include <optional>
#include <string>
#include <string_view>

struct LocalDateTime {
    int Year = 2000;
    int Month = 1; // 1 to 12
    int Day = 1;   // 1 to 31
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    bool operator==(const LocalDateTime&) const = default;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime Now() const = 0;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalDateTime now) : now_(now) {}
    LocalDateTime Now() const override { return now_; }
    void Set(LocalDateTime now) { now_ = now; }

private:
    LocalDateTime now_;
};

// The short date and time text of reports and printouts: "2026-12-06 14:03:09". Unambiguous in
// every region, so it serves as the "local short date" + " " + "local time".
std::string FormatDateTime(const LocalDateTime& when);

// Its date alone: "2026-12-06", as the history store keys its days.
std::string FormatDate(const LocalDateTime& when);

// Reads "YYYY-MM-DD HH:MM:SS" (as given to --now); nothing when it is not a valid date and time.
std::optional<LocalDateTime> ParseDateTime(std::string_view text);
