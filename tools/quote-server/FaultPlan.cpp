#include "FaultPlan.h"

#include <array>

namespace {

bool Every(long long request, int period) { return period > 0 && request % period == 0; }

} // namespace

bool FaultPlan::Once(Fault fault, const std::string& symbol) {
    const auto wanted = settings_.Symbols.find(fault);
    return wanted != settings_.Symbols.end() && wanted->second.count(symbol) != 0 &&
           done_[fault].insert(symbol).second;
}

Fault FaultPlan::Next(const std::string& symbol) {
    const std::lock_guard<std::mutex> guard(lock_);
    const long long request = ++requests_;
    if (Once(Fault::Drop, symbol) || Every(request, settings_.DropEvery)) return Fault::Drop;
    if (Once(Fault::Slow, symbol) || Every(request, settings_.SlowEvery)) return Fault::Slow;
    if (Once(Fault::TryAgain, symbol) || Every(request, settings_.TryAgainEvery)) return Fault::TryAgain;
    static constexpr std::array<Fault, 7> hostile = {Fault::Junk,    Fault::Nul,  Fault::Huge,    Fault::CutBody,
                                                     Fault::Hang,    Fault::BadChunk, Fault::GzipBomb};
    for (const Fault fault : hostile)
        if (Once(fault, symbol)) return fault;
    return Fault::None;
}
