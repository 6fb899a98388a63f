#pragma once
// The HTTP transfer on QNetworkAccessManager: one GET at a time, Basic authentication sent with
// the first request, redirects not followed, no compression, the body buffered up to the
// request's limit. Only a whole answer completes; a body cut short or undecodable fails. The
// same object serves the desktop program and the console runner. Encrypted requests are checked
// against the system's certificate authorities (and any added here); a certificate that fails the
// check fails the transfer, it is never waved through.

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>

#include <string>

#include "core/run/HttpTransfer.h"

class QNetworkReply;

class QtHttpTransfer final : public QObject, public HttpTransfer {
    Q_OBJECT
public:
    explicit QtHttpTransfer(QObject* parent = nullptr);
    ~QtHttpTransfer() override;

    void Start(const HttpRequest& request, HttpTransferListener& listener) override;
    void Cancel() override;

    // Trusts the PEM certificates in the file at `path` as authorities for encrypted requests,
    // beside the system's. False, and nothing added, when the file holds no certificate.
    [[nodiscard]] bool TrustCertificatesIn(const std::string& path);

    // Replies not yet deleted; stays at most one however many transfers ran.
    int LiveReplies() const;

private:
    // Refuses an answer sent compressed although none was asked for.
    void HeadersArrived();
    void ReadAvailable();
    void Finish();
    // Detaches the reply in hand and hands back its listener, so that a listener that starts the
    // next transfer from its callback finds a clean slate.
    HttpTransferListener* Release();
    void Report(int state);
    std::string ErrorText(int error) const;

    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> reply_;
    HttpTransferListener* listener_ = nullptr;
    QByteArray body_;
    std::size_t maxBodyBytes_ = 0;
    std::string host_;
    QSslConfiguration tls_ = QSslConfiguration::defaultConfiguration();
    bool systemAuthoritiesCopied_ = false;
};
