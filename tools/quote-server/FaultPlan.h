#pragma once
// Faults the stand-in server injects on request, so that tests can see the screener retry or give
// up: a slow answer, a connection dropped before or in the middle of the body, a "busy" page, and
// hostile answers (binary junk, NUL bytes, a page of ten megabytes, an answer that never ends, a
// chunked answer that breaks off, a small compressed body that inflates to gigabytes).
// Named symbols get their fault once (on their first request), so a retry succeeds; "every N"
// faults hit every Nth request counted over all requests. Handlers run on several threads, hence
// the lock.

#include <map>
#include <mutex>
#include <set>
#include <string>

enum class Fault { None, Slow, Drop, TryAgain, Junk, Nul, Huge, CutBody, Hang, BadChunk, GzipBomb };

struct FaultSettings {
    std::map<Fault, std::set<std::string>> Symbols; // the symbols that get each fault once
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
    bool Once(Fault fault, const std::string& symbol);

    FaultSettings settings_;
    std::mutex lock_;
    long long requests_ = 0;
    std::map<Fault, std::set<std::string>> done_;
};
