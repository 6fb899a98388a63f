#include "qt/QtHttpTransfer.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslCertificate>
#include <QTimer>
#include <QUrl>

#include "core/text/Base64.h"

namespace {

class ByteArrayBody final : public HttpResponseBody {
public:
    explicit ByteArrayBody(const QByteArray& bytes) : bytes_(bytes) {}
    std::string GetChunk(std::size_t maxLength) override {
        const qsizetype length = std::min<qsizetype>(static_cast<qsizetype>(maxLength), bytes_.size() - position_);
        std::string piece(bytes_.constData() + position_, static_cast<std::size_t>(length));
        position_ += length;
        return piece;
    }

private:
    const QByteArray& bytes_;
    qsizetype position_ = 0;
};

constexpr qint64 ReadBufferBytes = 256 * 1024;

// The settings file is not UTF-8: a byte outside printable ASCII stands for itself and goes out
// percent-encoded, never through a text decoding that would turn it into U+FFFD.
QString PercentEncodedBytes(const std::string& bytes) {
    QString encoded;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > ' ' && byte < 0x7F && c != '#')
            encoded += QLatin1Char(c);
        else
            encoded += QStringLiteral("%%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    }
    return encoded;
}

QUrl UrlOf(const HttpRequest& request) {
    QUrl url;
    url.setScheme(request.UseTls ? "https" : "http");
    url.setHost(QString::fromStdString(request.Host));
    url.setPort(request.Port);
    // The path carries its query ("...?TICKER=ABC"); both go out as they stand.
    const std::string::size_type question = request.Path.find('?');
    url.setPath(PercentEncodedBytes(request.Path.substr(0, question)), QUrl::TolerantMode);
    if (question != std::string::npos)
        url.setQuery(PercentEncodedBytes(request.Path.substr(question + 1)), QUrl::TolerantMode);
    return url;
}

// The errors the manager derives from an HTTP status of 400 and above: the answer arrived, it
// just is not a page. Every other error (a chunk that does not decode, a connection broken
// mid-body) means the answer did not arrive whole.
bool IsStatusError(QNetworkReply::NetworkError error) {
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError) ||
           error == QNetworkReply::ProtocolInvalidOperationError ||
           error == QNetworkReply::ProxyAuthenticationRequiredError ||
           (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

bool IsAnswer(const QVariant& status, QNetworkReply::NetworkError error) {
    if (!status.isValid()) return false;
    return error == QNetworkReply::NoError || (status.toInt() >= 400 && IsStatusError(error));
}

// The encoding named by an answer that was sent compressed although none was asked for; empty
// for a plain answer.
QByteArray CompressionOf(const QNetworkReply& reply) {
    const QByteArray encoding = reply.rawHeader("Content-Encoding").trimmed();
    return encoding.compare("identity", Qt::CaseInsensitive) == 0 ? QByteArray() : encoding;
}

} // namespace

QtHttpTransfer::QtHttpTransfer(QObject* parent) : QObject(parent) {
    // Every page is asked fresh; nothing is cached or remembered between requests.
    manager_.setCookieJar(nullptr);
    manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

QtHttpTransfer::~QtHttpTransfer() { Cancel(); }

void QtHttpTransfer::Start(const HttpRequest& request, HttpTransferListener& listener) {
    Cancel();
    listener_ = &listener;
    body_.clear();
    maxBodyBytes_ = request.MaxBodyBytes;
    host_ = request.Host;
    QNetworkRequest get(UrlOf(request));
    const std::string login = request.UserName + ":" + request.Password;
    get.setRawHeader("Authorization", QByteArray::fromStdString("Basic " + Base64Encode(login)));
    get.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    get.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    // Left alone, the manager asks for compressed answers and inflates them, however far a small
    // body inflates. Pages are small; asking for them as they are costs nothing.
    get.setRawHeader("Accept-Encoding", "identity");
    if (request.UseTls) get.setSslConfiguration(tls_);
    reply_ = manager_.get(get);
    QNetworkReply* reply = reply_;
    // Without a bound the manager's network thread reads a flooding server as fast as it sends,
    // far past the body limit, before the limit is seen here.
    reply->setReadBufferSize(ReadBufferBytes);
    // Host name lookup is the manager's first step; told from the event loop, as every event is.
    QTimer::singleShot(0, reply, [this] { Report(1); });
    connect(reply, &QNetworkReply::socketStartedConnecting, this, [this] { Report(3); });
    connect(reply, &QNetworkReply::requestSent, this, [this] { Report(6); });
    connect(reply, &QNetworkReply::metaDataChanged, this, &QtHttpTransfer::HeadersArrived);
    connect(reply, &QNetworkReply::readyRead, this, &QtHttpTransfer::ReadAvailable);
    connect(reply, &QNetworkReply::finished, this, &QtHttpTransfer::Finish);
    // An error is final: a reply that reports one and never finishes is not waited on.
    connect(reply, &QNetworkReply::errorOccurred, this, &QtHttpTransfer::Finish);
}

void QtHttpTransfer::Cancel() {
    if (!reply_) return;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    listener_ = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

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

int QtHttpTransfer::LiveReplies() const { return static_cast<int>(manager_.findChildren<QNetworkReply*>().size()); }

void QtHttpTransfer::Report(int state) {
    if (reply_ && listener_) listener_->StateChanged(state);
}

void QtHttpTransfer::HeadersArrived() {
    if (!reply_) return;
    const QByteArray compression = CompressionOf(*reply_);
    if (compression.isEmpty()) {
        Report(7);
        return;
    }
    HttpTransferListener* listener = Release();
    if (listener)
        listener->Failed(QNetworkReply::ProtocolFailure,
                         "Compressed answer refused (" + compression.left(40).toStdString() + ")");
}

void QtHttpTransfer::ReadAvailable() {
    if (!reply_) return;
    const QByteArray more = reply_->readAll();
    if (maxBodyBytes_ == 0 || static_cast<std::size_t>(body_.size() + more.size()) < maxBodyBytes_) {
        body_ += more;
        return;
    }
    // Over the limit: keep exactly the limit, so the reader can tell, and stop receiving.
    body_ += more.left(static_cast<qsizetype>(maxBodyBytes_) - body_.size());
    const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    HttpTransferListener* listener = Release();
    ByteArrayBody body(body_);
    if (listener) listener->Completed(status, body);
}

void QtHttpTransfer::Finish() {
    if (!reply_) return;
    body_ += reply_->readAll();
    if (maxBodyBytes_ != 0 && static_cast<std::size_t>(body_.size()) > maxBodyBytes_)
        body_.truncate(static_cast<qsizetype>(maxBodyBytes_));
    const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QNetworkReply::NetworkError error = reply_->error();
    const std::string text = ErrorText(error);
    HttpTransferListener* listener = Release();
    if (!listener) return;
    listener->StateChanged(8);
    if (IsAnswer(status, error)) {
        ByteArrayBody body(body_);
        listener->Completed(status.toInt(), body);
    } else {
        listener->Failed(static_cast<int>(error), text);
    }
}

std::string QtHttpTransfer::ErrorText(int error) const {
    // A name the manager refuses before any lookup reaches its message as an empty host.
    if (error == QNetworkReply::HostNotFoundError) return "Host " + host_ + " not found";
    return reply_->errorString().toStdString();
}

HttpTransferListener* QtHttpTransfer::Release() {
    HttpTransferListener* listener = listener_;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    listener_ = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    // A reply that reported an error is over already; aborting it would report a second one.
    if (!reply->isFinished() && reply->error() == QNetworkReply::NoError) reply->abort();
    reply->deleteLater();
    return listener;
}
