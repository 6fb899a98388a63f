#pragma once
// A quote server nobody listens at: each request fails as soon as the event loop turns. The
// screenshots show the run window retrying with it, and the run window's test drives the same.
// It must outlive the source it calls back.

#include <QObject>
#include <QTimer>
#include <memory>

#include "core/run/HttpTransfer.h"

class RefusingTransfer final : public HttpTransfer {
public:
    void Start(const HttpRequest&, HttpTransferListener& listener) override
    {
        pending_ = std::make_unique<QObject>();
        QTimer::singleShot(0, pending_.get(), [&listener] { listener.Failed(1, "Connection refused"); });
    }
    void Cancel() override { pending_.reset(); }

private:
    std::unique_ptr<QObject> pending_;
};
