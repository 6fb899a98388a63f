#pragma once
// Faults the stand-in server injects on request, so that tests can see the screener retry: a slow
// answer, a connection dropped mid-answer, a "busy" page. Named symbols get their fault once (on
// their first request), so the retry succeeds; "every N" faults hit every Nth request counted over
// all requests. Handlers run on several threads, hence the lock.

#include <mutex>
#include <set>
#include <string>
#include <vector>

enum class Fault { None, Slow, Drop, TryAgain };

struct FaultSettings {
    std::set<std::string> SlowSymbols, DropSymbols, TryAgainSymbols;
    int SlowEvery = 0, DropEvery = 0, TryAgainEvery = 0; // 0: never
    int SlowMilliseconds = 3000;
};

class FaultPlan {
public:
    explicit FaultPlan(FaultSettings settings) : settings_(std::move(settings)) {}

    // The fault for the next request, which asks for `symbol`. Counts the request.
    Fault Next(const std::string& symbol);
    int SlowMilliseconds() const { return settings_.SlowMilliseconds; }

private:
    bool Once(std::set<std::string>& done, const std::set<std::string>& wanted, const std::string& symbol);

    FaultSettings settings_;
    std::mutex lock_;
    long long requests_ = 0;
    std::set<std::string> slowDone_, dropDone_, tryAgainDone_;
};
