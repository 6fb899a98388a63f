#include "desktop/DesktopServerSource.h"

#include "qt/QtHttpTransfer.h"
#include "core/run/ServerSource.h"

namespace {

class DesktopServerSource final : public QuoteSource {
public:
    DesktopServerSource(SharedState& state, RunHost& host, std::function<void()> pauseRun)
        : source_(state, host, transfer_, std::move(pauseRun))
    {
    }
    bool StartPass() override { return source_.StartPass(); }
    void BeginSymbol() override { source_.BeginSymbol(); }
    std::optional<std::int16_t> Step() override { return source_.Step(); }
    void Cancel() override { source_.Cancel(); }

private:
    QtHttpTransfer transfer_; // declared first: the source holds on to it
    ServerSource source_;
};

} // namespace

std::unique_ptr<QuoteSource> MakeDesktopServerSource(SharedState& state, RunHost& host, std::function<void()> pauseRun)
{
    return std::make_unique<DesktopServerSource>(state, host, std::move(pauseRun));
}
