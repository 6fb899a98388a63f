#include "qt/QtHttpTransfer.h"

#include <QNetworkReply>
#include <QSslCertificate>
#include <QTimer>

#include "core/http/HttpGetRequest.h"

namespace {

class StringBody final : public HttpResponseBody {
public:
    explicit StringBody(const std::string& bytes) : bytes_(bytes) {}
    std::string GetChunk(std::size_t maxLength) override {
        std::string piece = bytes_.substr(std::min(position_, bytes_.size()), maxLength);
        position_ += piece.size();
        return piece;
    }

private:
    const std::string& bytes_;
    std::size_t position_ = 0;
};

// Without a bound the socket reads a flooding server as fast as it sends, far past the body
// limit, before the limit is seen here.
constexpr qint64 ReadBufferBytes = 256 * 1024;

// The numbers Qt's own HTTP layer gives the same failures, which the run has always shown.
QNetworkReply::NetworkError ReplyErrorOf(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError: return QNetworkReply::ConnectionRefusedError;
    case QAbstractSocket::RemoteHostClosedError: return QNetworkReply::RemoteHostClosedError;
    case QAbstractSocket::HostNotFoundError: return QNetworkReply::HostNotFoundError;
    case QAbstractSocket::SocketTimeoutError: return QNetworkReply::TimeoutError;
    case QAbstractSocket::SslHandshakeFailedError: return QNetworkReply::SslHandshakeFailedError;
    default: return QNetworkReply::UnknownNetworkError;
    }
}

// An IPv6 address may be typed in brackets, as in an address; the socket wants it bare.
QString SocketHost(const std::string& host) {
    const bool bracketed = host.size() > 2 && host.front() == '[' && host.back() == ']';
    return QString::fromStdString(bracketed ? host.substr(1, host.size() - 2) : host);
}

} // namespace

QtHttpTransfer::QtHttpTransfer(QObject* parent) : QObject(parent) {}

QtHttpTransfer::~QtHttpTransfer() { Cancel(); }

void QtHttpTransfer::Start(const HttpRequest& request, HttpTransferListener& listener) {
    Cancel();
    listener_ = &listener;
    answer_ = HttpAnswerReader();
    receiving_ = false;
    useTls_ = request.UseTls;
    maxBodyBytes_ = request.MaxBodyBytes;
    host_ = request.Host;
    request_ = QByteArray::fromStdString(HttpGetRequest(request));
    auto* socket = new QSslSocket(this);
    socket_ = socket;
    socket->setReadBufferSize(ReadBufferBytes);
    connect(socket, &QAbstractSocket::hostFound, this, [this] { Report(2); });
    connect(socket, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState state) {
        if (state == QAbstractSocket::ConnectingState) Report(3);
    });
    connect(socket, &QAbstractSocket::connected, this, [this] {
        Report(4);
        if (!useTls_) SendRequest(); // an encrypted request waits for the handshake
    });
    connect(socket, &QSslSocket::encrypted, this, &QtHttpTransfer::SendRequest);
    connect(socket, &QIODevice::bytesWritten, this, [this](qint64 written) {
        if (unwritten_ > 0 && (unwritten_ -= written) <= 0) Report(6);
    });
    connect(socket, &QIODevice::readyRead, this, &QtHttpTransfer::ReadAvailable);
    connect(socket, &QAbstractSocket::disconnected, this, &QtHttpTransfer::ConnectionEnded);
    connect(socket, &QAbstractSocket::errorOccurred, this, &QtHttpTransfer::SocketFailed);
    // Every event reaches the listener from the event loop, the host name lookup's first.
    QTimer::singleShot(0, socket, [this, socket, request] { Open(socket, request); });
}

void QtHttpTransfer::Open(QSslSocket* socket, const HttpRequest& request) {
    if (socket != socket_) return;
    Report(1);
    if (socket != socket_) return;
    if (!IsUsableHostName(request.Host))
        return Fail(QNetworkReply::HostNotFoundError, "Host " + request.Host + " not found");
    if (request.Port < 1 || request.Port > 65535)
        return Fail(QNetworkReply::UnknownNetworkError, "Port " + std::to_string(request.Port) + " out of range");
    const auto port = static_cast<quint16>(request.Port);
    if (!request.UseTls) return socket->connectToHost(SocketHost(request.Host), port);
    socket->setSslConfiguration(tls_);
    socket->connectToHostEncrypted(SocketHost(request.Host), port);
}

void QtHttpTransfer::Cancel() { (void)Release(); }

bool QtHttpTransfer::TrustCertificatesIn(const std::string& path) {
    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(QString::fromStdString(path));
    if (certificates.isEmpty()) return false;
    // A configuration given its own authorities no longer looks up the system's on demand, so
    // they are copied in, once.
    if (!systemAuthoritiesCopied_) tls_.addCaCertificates(QSslConfiguration::systemCaCertificates());
    systemAuthoritiesCopied_ = true;
    tls_.addCaCertificates(certificates);
    return true;
}

int QtHttpTransfer::LiveConnections() const {
    return static_cast<int>(findChildren<QSslSocket*>(Qt::FindDirectChildrenOnly).size());
}

void QtHttpTransfer::Report(int state) {
    if (socket_ && listener_) listener_->StateChanged(state);
}

void QtHttpTransfer::SendRequest() {
    if (!socket_) return;
    Report(5);
    if (!socket_) return;
    unwritten_ = request_.size();
    socket_->write(request_);
}

void QtHttpTransfer::ReadAvailable() {
    if (!socket_) return;
    const QByteArray bytes = socket_->readAll();
    if (bytes.isEmpty()) return;
    if (!receiving_) {
        receiving_ = true;
        Report(7);
        if (!socket_) return;
    }
    Settle(answer_.Take(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

void QtHttpTransfer::ConnectionEnded() {
    ReadAvailable();
    if (socket_) Settle(answer_.TakeEnd());
}

void QtHttpTransfer::SocketFailed(QAbstractSocket::SocketError error) {
    if (!socket_) return;
    // The end of the connection ends a body framed by it; anything still open is the reader's
    // to judge.
    if (error == QAbstractSocket::RemoteHostClosedError) return ConnectionEnded();
    if (error == QAbstractSocket::HostNotFoundError) return Fail(ReplyErrorOf(error), "Host " + host_ + " not found");
    Fail(ReplyErrorOf(error), socket_->errorString().toStdString());
}

void QtHttpTransfer::Settle(HttpAnswerReader::Stage stage) {
    using Stage = HttpAnswerReader::Stage;
    switch (stage) {
    case Stage::Head: return;
    case Stage::Body:
        // Past the limit the page is known to be too large: it ends here, the limit's worth kept
        // so that the reader can tell.
        if (maxBodyBytes_ == 0 || answer_.Body().size() < maxBodyBytes_) return;
        return Complete();
    case Stage::Complete: return Complete();
    case Stage::Malformed: return Fail(QNetworkReply::ProtocolFailure, answer_.Fault());
    case Stage::CutShort: return Fail(QNetworkReply::RemoteHostClosedError, answer_.Fault());
    }
}

void QtHttpTransfer::Complete() {
    // Taken out first: a listener may start the next transfer while it reads this body.
    std::string body = std::move(answer_.Body());
    if (maxBodyBytes_ != 0 && body.size() > maxBodyBytes_) body.resize(maxBodyBytes_);
    const int status = answer_.Status();
    HttpTransferListener* listener = Release();
    if (!listener) return;
    listener->StateChanged(8);
    StringBody reader(body);
    listener->Completed(status, reader);
}

void QtHttpTransfer::Fail(int code, const std::string& text) {
    if (HttpTransferListener* listener = Release()) listener->Failed(code, text);
}

HttpTransferListener* QtHttpTransfer::Release() {
    HttpTransferListener* listener = listener_;
    listener_ = nullptr;
    if (QSslSocket* socket = socket_) {
        socket_ = nullptr;
        disconnect(socket, nullptr, this, nullptr);
        socket->abort();
        socket->deleteLater();
    }
    return listener;
}
