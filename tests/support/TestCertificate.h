#pragma once
// A self-signed certificate made for one test with the openssl tool, so that encrypted transfers
// can be tried against the stand-in server without turning any check off.

#include <QProcess>
#include <QString>
#include <QStringList>

struct TestCertificate {
    QString Certificate; // PEM files; empty when the tool failed
    QString Key;
    QString Failure;     // what the tool said when it failed
};

// Writes `name`.pem and `name`.key into `directory` for the common name `commonName` and the
// alternative names `altNames` (e.g. "IP:127.0.0.1,DNS:localhost"), valid for two days.
inline TestCertificate MakeTestCertificate(const QString& directory, const QString& name, const QString& commonName,
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
