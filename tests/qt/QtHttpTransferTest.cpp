// The Qt transfer against the real stand-in server on loopback, plain and encrypted, and against
// what a hostile server or odd settings give it: an answer that comes compressed or broken fails
// at once instead of never ending or passing for a page, a request goes out with the very bytes
// the settings hold, and a host name refused locally is named in the error.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkReply>
#include <QProcess>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/run/HttpTransfer.h"
#include "qt/QtHttpTransfer.h"
#include "support/QuoteServerProcess.h"

namespace {

// A transfer listener that keeps everything it is told, and a wait for its answer that runs the Qt
// event loop meanwhile.

class RecordingListener final : public HttpTransferListener {
public:
    void StateChanged(int state) override { states.push_back(state); }
    void Completed(int httpStatus, HttpResponseBody& body) override {
        status = httpStatus;
        for (std::string piece = body.GetChunk(1024); !piece.empty(); piece = body.GetChunk(1024)) text += piece;
        done = true;
    }
    void Failed(int code, const std::string& why) override {
        failure = code;
        failureText = why;
        done = true;
    }
    std::vector<int> states;
    int status = 0;
    std::string text;
    int failure = 0;
    std::string failureText;
    bool done = false;
};

// Runs the event loop until `done` holds or `milliseconds` have passed.
template <class Condition>
bool AwaitCondition(Condition done, int milliseconds = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// Runs the event loop until the listener has its answer or `milliseconds` have passed.
bool AwaitAnswer(const RecordingListener& listener, int milliseconds = 10000) {
    return AwaitCondition([&] { return listener.done; }, milliseconds);
}

// A self-signed certificate made for one test with the openssl tool, so that encrypted transfers
// can be tried against the stand-in server without turning any check off.

struct TestCertificate {
    QString Certificate; // PEM files; empty when the tool failed
    QString Key;
    QString Failure;     // what the tool said when it failed
};

// Writes `name`.pem and `name`.key into `directory` for the common name `commonName` and the
// alternative names `altNames` (e.g. "IP:127.0.0.1,DNS:localhost"), valid for two days.
TestCertificate MakeTestCertificate(const QString& directory, const QString& name, const QString& commonName,
                                           const QString& altNames) {
    const QString certificate = directory + "/" + name + ".pem";
    const QString key = directory + "/" + name + ".key";
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start("openssl", {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                              "-keyout", key, "-out", certificate, "-days", "2", "-subj", "/CN=" + commonName,
                              "-addext", "subjectAltName=" + altNames});
    const bool finished = openssl.waitForFinished(30000);
    if (!finished || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0)
        return {{}, {}, "openssl req failed: " + QString::fromLocal8Bit(openssl.readAll()) + openssl.errorString()};
    return {certificate, key, {}};
}

HttpRequest Request(int port, const std::string& path, const std::string& password = "lantern4") {
    HttpRequest request;
    request.Host = "127.0.0.1";
    request.Port = port;
    request.Path = path;
    request.UserName = "NORVALE";
    request.Password = password;
    return request;
}

class QtHttpTransferTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new QuoteServerProcess({"--now", "2026-03-04 11:30:00", "--drop", "ADUK", "--slow", "AEE",
                                         "--slow-ms", "1500", "--quiet"});
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override { ASSERT_GT(server->Port(), 0) << "the quote server did not start"; }

    static QuoteServerProcess* server;
    QtHttpTransfer transfer;
    RecordingListener listener;
};
QuoteServerProcess* QtHttpTransferTest::server = nullptr;

TEST_F(QtHttpTransferTest, FetchesAPageWithTheLoginAndReportsItsProgress) {
    transfer.Start(Request(server->Port(), "/cgi-bin/getquote.dll?TICKER=ACS"), listener);
    EXPECT_TRUE(listener.states.empty()) << "no event from within Start";
    ASSERT_TRUE(AwaitAnswer(listener));
    EXPECT_EQ(listener.status, 200);
    EXPECT_NE(listener.text.find("SEC Filings"), std::string::npos);
    EXPECT_NE(listener.text.find("Harbor Foods Inc"), std::string::npos);
    ASSERT_FALSE(listener.states.empty());
    EXPECT_EQ(listener.states.front(), 1);
    EXPECT_EQ(listener.states.back(), 8);
}

TEST_F(QtHttpTransferTest, AnswersWithoutAPageAreStillAnswersButBrokenConnectionsAreFailures) {
    transfer.Start(Request(server->Port(), "/cgi-bin/getquote.dll?TICKER=ACS", "wrong"), listener);
    ASSERT_TRUE(AwaitAnswer(listener));
    EXPECT_EQ(listener.status, 401);

    RecordingListener dropped;
    transfer.Start(Request(server->Port(), "/cgi-bin/getquote.dll?TICKER=ADUK"), dropped);
    ASSERT_TRUE(AwaitAnswer(dropped));
    EXPECT_NE(dropped.failure, 0) << "a connection closed before the body is no page";
    EXPECT_FALSE(dropped.failureText.empty());

    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const int closedPort = closed.serverPort();
    closed.close();
    RecordingListener refused;
    transfer.Start(Request(closedPort, "/cgi-bin/getquote.dll?TICKER=ACS"), refused);
    ASSERT_TRUE(AwaitAnswer(refused));
    EXPECT_EQ(refused.failure, static_cast<int>(QNetworkReply::ConnectionRefusedError));
}

TEST_F(QtHttpTransferTest, ACancelledTransferReportsNothingMore) {
    transfer.Start(Request(server->Port(), "/cgi-bin/getquote.dll?TICKER=AEE"), listener); // answered late
    QCoreApplication::processEvents();
    transfer.Cancel();
    EXPECT_FALSE(AwaitAnswer(listener, 2500));
    const std::size_t statesAfterCancel = listener.states.size();
    RecordingListener next;
    transfer.Start(Request(server->Port(), "/cgi-bin/getquote.dll?TICKER=AEE"), next);
    ASSERT_TRUE(AwaitAnswer(next));
    EXPECT_EQ(next.status, 200);
    EXPECT_EQ(listener.states.size(), statesAfterCancel);
}

TEST_F(QtHttpTransferTest, ConnectionsAreDeletedAsTheyAreRead) {
    for (int i = 0; i < 200; ++i) {
        RecordingListener one;
        transfer.Start(Request(server->Port(), "/cgi-bin/getquote.dll?TICKER=ACS"), one);
        ASSERT_TRUE(AwaitAnswer(one)) << i;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_LE(transfer.LiveConnections(), 1);
}

// The stand-in server speaking HTTPS with a certificate for the name "localhost" only.
class EncryptedTransferTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        directory = std::make_unique<QTemporaryDir>();
        certificate = MakeTestCertificate(directory->path(), "localhost", "localhost", "DNS:localhost");
        if (!certificate.Certificate.isEmpty())
            server = std::make_unique<QuoteServerProcess>(QStringList{
                "--tls-cert", certificate.Certificate, "--tls-key", certificate.Key, "--quiet"});
    }
    static void TearDownTestSuite() {
        server.reset();
        directory.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(QSslSocket::supportsSsl()) << "no TLS backend for Qt";
        ASSERT_FALSE(certificate.Certificate.isEmpty()) << certificate.Failure.toStdString();
        ASSERT_GT(server->Port(), 0) << "the encrypted quote server did not start";
    }
    static HttpRequest Encrypted(const std::string& host) {
        HttpRequest request = Request(server->Port(), "/cgi-bin/getquote.dll?TICKER=ACS");
        request.Host = host;
        request.UseTls = true;
        return request;
    }

    static std::unique_ptr<QTemporaryDir> directory;
    static TestCertificate certificate;
    static std::unique_ptr<QuoteServerProcess> server;
};
std::unique_ptr<QTemporaryDir> EncryptedTransferTest::directory;
TestCertificate EncryptedTransferTest::certificate;
std::unique_ptr<QuoteServerProcess> EncryptedTransferTest::server;

// Neither a missing file nor a key adds trust, so the transfer still refuses the certificate. (The
// trusted certificate's pass is the live-encrypted-pass golden case.)
TEST_F(EncryptedTransferTest, AnUntrustedCertificateOrAnotherNameFailsTheTransfer) {
    QtHttpTransfer untrusting;
    EXPECT_FALSE(untrusting.TrustCertificatesIn(directory->filePath("missing.pem").toStdString()));
    EXPECT_FALSE(untrusting.TrustCertificatesIn(certificate.Key.toStdString())) << "a key is no certificate";
    RecordingListener unknownIssuer;
    untrusting.Start(Encrypted("localhost"), unknownIssuer);
    ASSERT_TRUE(AwaitAnswer(unknownIssuer));
    EXPECT_EQ(unknownIssuer.failure, static_cast<int>(QNetworkReply::SslHandshakeFailedError));
    EXPECT_FALSE(unknownIssuer.failureText.empty());
    EXPECT_TRUE(unknownIssuer.text.empty());

    QtHttpTransfer trusting;
    ASSERT_TRUE(trusting.TrustCertificatesIn(certificate.Certificate.toStdString()));
    RecordingListener otherName;
    trusting.Start(Encrypted("127.0.0.1"), otherName); // the certificate names "localhost" only
    ASSERT_TRUE(AwaitAnswer(otherName));
    EXPECT_EQ(otherName.failure, static_cast<int>(QNetworkReply::SslHandshakeFailedError));
    EXPECT_TRUE(otherName.text.empty());
}

// Answers that are no whole page fail the transfer at once, so that the page is asked again: two
// megabytes that would inflate to two gigabytes (refused as they come, not inflated, and not left
// to the retrieval's time-out), a chunked page broken off at 60 % by a chunk size that does not
// read (which Qt's own HTTP layer took for a whole page about half of the time), and a page cut
// off half-way.
TEST(HostileTransferTest, AnAnswerThatIsNoWholePageFailsAtOnce) {
    const struct {
        const char* Flag;
        const char* Symbol;
        int Failure;
        std::string Text; // the failure text begins with it
    } rows[] = {
        {"--gzip-bomb", "ACS", QNetworkReply::ProtocolFailure, "Compressed answer refused (gzip)"},
        {"--bad-chunk", "ADUK", QNetworkReply::ProtocolFailure, "Malformed chunk size line"},
        {"--cut-body", "AIK", QNetworkReply::RemoteHostClosedError, "Connection closed after "},
    };
    std::map<QString, QStringList> symbolsOf; // a fault's symbols go in one list
    for (const auto& row : rows) symbolsOf[row.Flag] << row.Symbol;
    QStringList arguments{"--quiet"};
    for (const auto& [flag, symbols] : symbolsOf) arguments << flag << symbols.join(',');
    QuoteServerProcess server(arguments);
    ASSERT_GT(server.Port(), 0);
    QtHttpTransfer transfer;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.Flag) + " " + row.Symbol);
        RecordingListener listener;
        HttpRequest request = Request(server.Port(), std::string("/cgi-bin/getquote.dll?TICKER=") + row.Symbol);
        request.MaxBodyBytes = 4 * 1024 * 1024; // as a run asks
        transfer.Start(request, listener);
        ASSERT_TRUE(AwaitAnswer(listener, 5000)) << "neither finished nor failed";
        EXPECT_EQ(listener.status, 0) << "taken as an answer: " << listener.text.size() << " bytes";
        EXPECT_EQ(listener.failure, row.Failure);
        EXPECT_EQ(listener.failureText.substr(0, row.Text.size()), row.Text) << listener.failureText;
    }
}

// The settings file is not UTF-8: each byte of a path is the byte sent.
TEST(HostileTransferTest, APathGoesOutByteForByteAndAsksForNoCompression) {
    const struct {
        std::string Path;
        const char* RequestLine;
    } rows[] = {
        {"/cgi-bin/getquote.dll?TICKER=ACS", "GET /cgi-bin/getquote.dll?TICKER=ACS HTTP/1.1"},
        {"/cgi-bin/get\xe9quote.dll?TICKER=A\xff", "GET /cgi-bin/get%E9quote.dll?TICKER=A%FF HTTP/1.1"},
        {"/quotes page/\x01?TICKER=A#B", "GET /quotes%20page/%01?TICKER=A%23B HTTP/1.1"},
    };
    QTcpServer listening;
    ASSERT_TRUE(listening.listen(QHostAddress::LocalHost));
    QtHttpTransfer transfer;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.RequestLine);
        RecordingListener listener;
        transfer.Start(Request(listening.serverPort(), row.Path), listener);
        // The transfer connects and writes from the event loop, so the waits here run it.
        ASSERT_TRUE(AwaitCondition([&] { return listening.hasPendingConnections(); }));
        QTcpSocket* socket = listening.nextPendingConnection();
        QByteArray head;
        ASSERT_TRUE(AwaitCondition([&] { return (head += socket->readAll()).contains("\r\n\r\n"); }));
        EXPECT_EQ(head.left(head.indexOf("\r\n")).toStdString(), row.RequestLine);
        EXPECT_TRUE(head.contains("\r\nAccept-Encoding: identity\r\n")) << head.toStdString();
        socket->write("HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
        ASSERT_TRUE(AwaitAnswer(listener));
        EXPECT_EQ(listener.text, "ok");
        delete socket;
    }
}

TEST(HostileTransferTest, AHostNameRefusedBeforeAnyLookupIsNamedInTheError) {
    QtHttpTransfer transfer;
    RecordingListener listener;
    HttpRequest request = Request(80, "/");
    request.Host = "quotes server";
    transfer.Start(request, listener);
    ASSERT_TRUE(AwaitAnswer(listener));
    EXPECT_EQ(listener.failure, static_cast<int>(QNetworkReply::HostNotFoundError));
    EXPECT_EQ(listener.failureText, "Host quotes server not found");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
