// Live passes of quillon-cli over HTTPS against the stand-in quote server on loopback: trusted
// through an added certificate authority, refused when the certificate is not trusted.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include "support/QuoteServerProcess.h"
#include "support/TestCertificate.h"
#include "LiveRunSupport.h"

namespace {

const std::vector<std::string> Symbols = {"ACS", "ADUK", "NOPE"}; // two of the demo market, one unknown

class EncryptedRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(certificates.isValid());
        certificate = MakeTestCertificate(certificates.path(), "server", "127.0.0.1", "IP:127.0.0.1,DNS:localhost");
        ASSERT_FALSE(certificate.Certificate.isEmpty()) << certificate.Failure.toStdString();
    }
    QStringList TlsArguments() const { return {"--tls-cert", certificate.Certificate, "--tls-key", certificate.Key}; }
    static void Encrypt(UserSettings& settings) { settings.SwitchText = " Https "; }

    QTemporaryDir certificates;
    TestCertificate certificate;
};

TEST_F(EncryptedRunTest, APassOverHttpsCompletesWhenTheServerCertificateIsTrusted) {
    ProgramDirectory dir("tls-trusted");
    QuoteServerProcess server(dir.ServerArguments("", TlsArguments()));
    ASSERT_GT(server.Port(), 0);
    dir.WriteSettings(server.Port(), Encrypt);
    dir.WriteSymbols(Symbols);
    const RunResult run =
        dir.Run("server", 5, 60000, {"--verbose", "--ca-file", certificate.Certificate});
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_EQ(Lines(dir.Read(dir.Paths().FnGoodSym)).size(), 2u) << run.Output;
    EXPECT_TRUE(HasLineStarting(dir.Read(dir.Paths().FnBadSym), "NOPE"));
    EXPECT_EQ(run.Output.find("Error"), std::string::npos) << run.Output;
    EXPECT_EQ(run.Output.find("unencrypted"), std::string::npos);
    EXPECT_EQ(dir.ServerLog().count("getquote.dll"), 3) << "one stock request per symbol";
}

TEST_F(EncryptedRunTest, AnUntrustedCertificateIsAnErrorOnTheStatusLineAndTheRequestIsRetried) {
    ProgramDirectory dir("tls-untrusted");
    QuoteServerProcess server(dir.ServerArguments("", TlsArguments()));
    ASSERT_GT(server.Port(), 0);
    dir.WriteSettings(server.Port(), Encrypt);
    dir.WriteSymbols(Symbols);
    QProcess cli;
    dir.Start(cli, "server", 5, {"--verbose"});
    ASSERT_TRUE(cli.waitForStarted(10000));
    QString output;
    QElapsedTimer waited;
    waited.start();
    while (output.count("Error ") < 3 && waited.elapsed() < 20000 && cli.state() == QProcess::Running) {
        cli.waitForReadyRead(200);
        output += QString::fromLocal8Bit(cli.readAll());
    }
    ASSERT_GE(output.count("Error "), 3) << "three failed attempts at the first symbol: " << output.toStdString();
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    ASSERT_TRUE(cli.waitForFinished(5000));
    EXPECT_EQ(cli.exitCode(), 128 + SIGINT);
    output += QString::fromLocal8Bit(cli.readAll());
    EXPECT_TRUE(output.contains("Error 6 : SSL handshake failed")) << output.toStdString();
    EXPECT_EQ(dir.Read(dir.Paths().FnGoodSym) + dir.Read(dir.Paths().FnBadSym), "") << "no symbol was given up";
    EXPECT_FALSE(dir.ServerLog().contains("GET")) << "no request, and so no password, went out";
}

} // namespace
