#include "desktop/dialogs/PassCounter.h"

#include <QMetaObject>

#include <algorithm>

#include "core/text/TextFile.h"

namespace {

QString CountText(const std::vector<bool>& saved, int withQuotes)
{
    const auto count = std::count(saved.begin(), saved.end(), true);
    return QStringLiteral("%1 of %2 symbols in the quote cache pass these settings").arg(count).arg(withQuotes);
}

} // namespace

PassCounter::PassCounter(std::string fnSym, std::string fnQuote, LocalDateTime now, QObject* parent)
    : QObject(parent), fnSym_(std::move(fnSym)), fnQuote_(std::move(fnQuote)), now_(now),
      worker_([this] { Work(); })
{
}

PassCounter::~PassCounter()
{
    {
        std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

void PassCounter::Request(const UserSettings& settings)
{
    {
        std::lock_guard lock(mutex_);
        pending_ = settings;
        ++generation_;
    }
    wake_.notify_one();
}

std::optional<std::string> PassCounter::EnsureSnapshot()
{
    if (snapshot_) return std::nullopt;
    if (!FileExists(fnQuote_)) return std::string("no quote cache yet");
    std::string problem;
    snapshot_ = ReadQuoteSnapshot(fnSym_, fnQuote_, now_, problem);
    if (!snapshot_) return problem;
    return std::nullopt;
}

void PassCounter::Work()
{
    for (;;) {
        UserSettings settings;
        std::uint64_t generation = 0;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quitting_ || pending_; });
            if (quitting_) return;
            settings = *pending_;
            pending_.reset();
            generation = generation_;
        }
        const auto superseded = [this, generation] {
            std::lock_guard lock(mutex_);
            return quitting_ || generation_ != generation;
        };
        QString text;
        if (const auto problem = EnsureSnapshot()) {
            text = QString::fromStdString(*problem);
        } else {
            const auto saved = SavedSymbols(*snapshot_, settings, QVAResultsUse::Recompute, superseded);
            if (!saved) continue; // a newer request is waiting
            text = CountText(*saved, snapshot_->WithQuotes);
        }
        if (superseded()) continue;
        QMetaObject::invokeMethod(this, [this, text] { emit Counted(text); }, Qt::QueuedConnection);
    }
}
