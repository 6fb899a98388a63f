#pragma once
// Counts, on a worker thread, how many symbols of the quote cache a set of settings saves, so that
// the Filter dialog can show it while the user edits without ever freezing. A newer request
// abandons the count in progress; only the newest count is reported.

#include <QObject>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "core/insight/QuoteSnapshot.h"

class PassCounter : public QObject {
    Q_OBJECT
public:
    // The quote cache is read on the worker, once, at the first request, as of `now`.
    PassCounter(std::string fnSym, std::string fnQuote, LocalDateTime now, QObject* parent = nullptr);
    ~PassCounter() override;

    void Request(const UserSettings& settings);

signals:
    // The text for the dialog: "N of M symbols in the quote cache pass these settings", "no quote
    // cache yet", or why the symbol file or the cache cannot be used.
    void Counted(const QString& text);

private:
    void Work();
    // Reads the snapshot when there is none yet; the text to show instead of a count when it fails.
    std::optional<std::string> EnsureSnapshot();

    const std::string fnSym_, fnQuote_;
    const LocalDateTime now_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<UserSettings> pending_;  // guarded by mutex_
    std::uint64_t generation_ = 0;         // guarded by mutex_; bumped by every request
    bool quitting_ = false;                // guarded by mutex_
    std::optional<QuoteSnapshot> snapshot_; // the worker's alone
    std::thread worker_;
};
