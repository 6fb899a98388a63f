#pragma once
// The HTTP transfer on a socket of its own: one GET at a time on a fresh connection, Basic
// authentication sent with the request, redirects not followed, no compression. The answer is
// framed by the core's HttpAnswerReader, not by Qt's HTTP layer, which takes a chunked body broken
// off by a chunk size that does not read for a whole one about half of the time: here every fault
// of the framing fails the transfer, so the page is asked again. The body is buffered up to the
// request's limit. The same object serves the desktop program and the console runner. Encrypted
// requests are checked against the system's certificate authorities (and any added here); a
// certificate that fails the check fails the transfer, it is never waved through.
//
// Failures carry QNetworkReply's error numbers, which the run shows as "Error N : text": a
// framing fault is ProtocolFailure, a connection that ends inside the answer RemoteHostClosedError.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslSocket>

#include <string>

#include "core/http/HttpAnswerReader.h"
#include "core/run/HttpTransfer.h"

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

    // Connections not yet deleted; stays at most one however many transfers ran.
    int LiveConnections() const;

private:
    void Open(QSslSocket* socket, const HttpRequest& request);
    void SendRequest();
    void RequestWritten();
    void ReadAvailable();
    void ConnectionEnded();
    void SocketFailed(QAbstractSocket::SocketError error);
    // Hands the reader's verdict on the bytes so far to the listener, once there is one.
    void Settle(HttpAnswerReader::Stage stage);
    void Complete();
    void Fail(int code, const std::string& text);
    // Detaches the connection in hand and hands back its listener, so that a listener that
    // starts the next transfer from its callback finds a clean slate.
    HttpTransferListener* Release();
    void Report(int state);

    QPointer<QSslSocket> socket_;
    HttpTransferListener* listener_ = nullptr;
    HttpAnswerReader answer_;
    QByteArray request_;
    qint64 unwritten_ = 0;
    bool receiving_ = false;
    bool useTls_ = false;
    std::size_t maxBodyBytes_ = 0;
    std::string host_;
    QSslConfiguration tls_ = QSslConfiguration::defaultConfiguration();
    bool systemAuthoritiesCopied_ = false;
};
