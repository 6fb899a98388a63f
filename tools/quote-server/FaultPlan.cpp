#include "FaultPlan.h"

namespace {

bool Every(long long request, int period) { return period > 0 && request % period == 0; }

} // namespace

bool FaultPlan::Once(std::set<std::string>& done, const std::set<std::string>& wanted,
                     const std::string& symbol) {
    return wanted.count(symbol) != 0 && done.insert(symbol).second;
}

Fault FaultPlan::Next(const std::string& symbol) {
    const std::lock_guard<std::mutex> guard(lock_);
    const long long request = ++requests_;
    if (Once(dropDone_, settings_.DropSymbols, symbol) || Every(request, settings_.DropEvery))
        return Fault::Drop;
    if (Once(slowDone_, settings_.SlowSymbols, symbol) || Every(request, settings_.SlowEvery))
        return Fault::Slow;
    if (Once(tryAgainDone_, settings_.TryAgainSymbols, symbol) || Every(request, settings_.TryAgainEvery))
        return Fault::TryAgain;
    return Fault::None;
}
