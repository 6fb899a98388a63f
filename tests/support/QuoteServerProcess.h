#pragma once
// Runs quillon-quote-server on a free loopback port for the length of a test.

#include <QProcess>
#include <QString>
#include <QStringList>

class QuoteServerProcess {
public:
    // Starts the server with `arguments` (the port is always chosen freely). Port() is 0 when the
    // server did not come up within ten seconds.
    explicit QuoteServerProcess(const QStringList& arguments) {
        process_.setProgram(QStringLiteral(QUILLON_BINARY_DIR "/tools/quote-server/quillon-quote-server"));
        process_.setArguments(QStringList{"--port", "0"} + arguments);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (!process_.waitForStarted(10000)) return;
        while (!process_.canReadLine() && process_.waitForReadyRead(10000)) {
        }
        if (process_.canReadLine()) port_ = process_.readLine().trimmed().toInt();
    }
    ~QuoteServerProcess() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) process_.kill();
        process_.waitForFinished(5000);
    }
    QuoteServerProcess(const QuoteServerProcess&) = delete;
    QuoteServerProcess& operator=(const QuoteServerProcess&) = delete;

    int Port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};
