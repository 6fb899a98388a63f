// Where `quillon` keeps its files: --dir, the executable's directory, or the user's data directory.
#include <QTemporaryDir>
#include <QtTest>

#include "desktop/services/ProgramDirectory.h"

class ProgramDirectoryTest : public QObject {
    Q_OBJECT
private slots:
    void aRequestedDirectoryIsCreated()
    {
        QTemporaryDir base;
        const QString wanted = base.filePath(QStringLiteral("a/b/quillon"));
        QCOMPARE(ResolveProgramDirectory(wanted, base.path()), std::optional<QString>(wanted));
        QVERIFY(QFileInfo(wanted).isDir());
    }

    void withoutARequestAWritableExecutableDirectoryIsUsed()
    {
        QTemporaryDir executable;
        QCOMPARE(ResolveProgramDirectory(QString(), executable.path()), std::optional<QString>(executable.path()));
    }

    void aMissingExecutableDirectoryFallsBackToTheUsersDataDirectory()
    {
        QTemporaryDir data;
        qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
        const auto chosen = ResolveProgramDirectory(QString(), data.filePath(QStringLiteral("no/such/bin")));
        QCOMPARE(chosen, std::optional<QString>(data.filePath(QStringLiteral("quillon"))));
        QVERIFY(QFileInfo(*chosen).isDir());
    }

    void aRequestThatCannotBeCreatedIsRefused()
    {
        QTemporaryDir base;
        QFile blocker(base.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QCOMPARE(ResolveProgramDirectory(base.filePath(QStringLiteral("file/sub")), base.path()), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(ProgramDirectoryTest)
#include "ProgramDirectoryTest.moc"
