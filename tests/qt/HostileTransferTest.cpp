// Hostile answers and odd settings against the Qt transfer on loopback: an answer that comes
// compressed fails at once instead of never ending, a request goes out with the very bytes the
// settings hold, and a host name refused locally is named in the error.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>

#include "qt/QtHttpTransfer.h"
#include "support/QuoteServerProcess.h"
#include "support/RecordingTransferListener.h"

namespace {

HttpRequest Request(const std::string& host, int port, const std::string& path) {
    return HttpRequest{host, port, path, "NORVALE", "lantern4", false, 4 * 1024 * 1024};
}

// Two megabytes that would inflate to two gigabytes: refused as they come, not inflated, and not
// left to the retrieval's time-out.
TEST(HostileTransferTest, ACompressedAnswerFailsAtOnce) {
    QuoteServerProcess server({"--quiet", "--gzip-bomb", "ACS"});
    ASSERT_GT(server.Port(), 0);
    QtHttpTransfer transfer;
    RecordingListener listener;
    transfer.Start(Request("127.0.0.1", server.Port(), "/cgi-bin/getquote.dll?TICKER=ACS"), listener);
    ASSERT_TRUE(AwaitAnswer(listener, 5000)) << "neither finished nor failed";
    EXPECT_EQ(listener.status, 0) << "taken as an answer: " << listener.text.size() << " bytes";
    EXPECT_EQ(listener.failureText, "Compressed answer refused (gzip)");
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
        transfer.Start(Request("127.0.0.1", listening.serverPort(), row.Path), listener);
        ASSERT_TRUE(listening.waitForNewConnection(5000));
        QTcpSocket* socket = listening.nextPendingConnection();
        QByteArray head;
        while (!head.contains("\r\n\r\n") && socket->waitForReadyRead(5000)) head += socket->readAll();
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
    transfer.Start(Request("quotes server", 80, "/"), listener);
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
