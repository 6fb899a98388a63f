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

QUrl UrlOf(const HttpRequest& request) {
    QUrl url;
    url.setScheme(request.UseTls ? "https" : "http");
    url.setHost(QString::fromStdString(request.Host));
    url.setPort(request.Port);
    // The path carries its query ("...?TICKER=ABC"); both go out as they stand.
    const std::string::size_type question = request.Path.find('?');
    url.setPath(QString::fromStdString(request.Path.substr(0, question)), QUrl::TolerantMode);
    if (question != std::string::npos)
        url.setQuery(QString::fromStdString(request.Path.substr(question + 1)), QUrl::TolerantMode);
    return url;
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
    QNetworkRequest get(UrlOf(request));
    const std::string login = request.UserName + ":" + request.Password;
    get.setRawHeader("Authorization", QByteArray::fromStdString("Basic " + Base64Encode(login)));
    get.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    get.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
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
    connect(reply, &QNetworkReply::metaDataChanged, this, [this] { Report(7); });
    connect(reply, &QNetworkReply::readyRead, this, &QtHttpTransfer::ReadAvailable);
    connect(reply, &QNetworkReply::finished, this, &QtHttpTransfer::Finish);
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
    const int code = static_cast<int>(reply_->error());
    const std::string text = reply_->errorString().toStdString();
    HttpTransferListener* listener = Release();
    if (!listener) return;
    listener->StateChanged(8);
    // An HTTP status means an answer arrived, whatever the manager thinks of it (401, 404, 500);
    // a broken connection mid-body is no answer.
    const bool broken = code == QNetworkReply::RemoteHostClosedError || code == QNetworkReply::TimeoutError;
    if (status.isValid() && !broken) {
        ByteArrayBody body(body_);
        listener->Completed(status.toInt(), body);
    } else {
        listener->Failed(code, text);
    }
}

HttpTransferListener* QtHttpTransfer::Release() {
    HttpTransferListener* listener = listener_;
    QNetworkReply* reply = reply_;
    reply_ = nullptr;
    listener_ = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    if (!reply->isFinished()) reply->abort();
    reply->deleteLater();
    return listener;
}
