// Opening a text file for the user when the desktop has no program for it: the user's own editor
// in a terminal where one is named, else a message naming the file.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "desktop/services/MessageBoxes.h"
#include "desktop/services/TextFileOpener.h"

namespace {

bool WriteScript(const QString& path, const QString& body)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(("#!/bin/sh\n" + body + "\n").toUtf8());
    file.close();
    return file.setPermissions(file.permissions() | QFile::ExeOwner);
}

} // namespace

class EditorOpeningTest : public QObject {
    Q_OBJECT
private slots:
    void init() { MessageBoxes::BeginScript(); }
    void cleanup()
    {
        MessageBoxes::EndScript();
        for (const char* name : {"PATH", "VISUAL", "EDITOR"}) qunsetenv(name);
    }

    void fallsBackToTheUsersEditorElseNamesTheFile_data()
    {
        QTest::addColumn<int>("desktopOpener"); // its exit status; -1: not installed
        QTest::addColumn<QString>("visual");
        QTest::addColumn<QString>("editor");
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<QString>("terminalCommand"); // what the terminal was asked to run
        QTest::addColumn<bool>("message");
        QTest::newRow("desktop opens it") << 0 << "vi" << "" << true << "" << false;
        QTest::newRow("no desktop program, VISUAL") << 3 << "code --wait" << "nano" << true << "-e code --wait FILE" << false;
        QTest::newRow("no opener at all, EDITOR") << -1 << "" << "nano" << true << "-e nano FILE" << false;
        QTest::newRow("no terminal") << 4 << "" << "nano" << false << "" << true;
        QTest::newRow("no editor named") << -1 << " " << "" << true << "" << true;
    }
    void fallsBackToTheUsersEditorElseNamesTheFile()
    {
        QFETCH(int, desktopOpener);
        QFETCH(QString, visual);
        QFETCH(QString, editor);
        QFETCH(bool, terminal);
        QFETCH(QString, terminalCommand);
        QFETCH(bool, message);
        QTemporaryDir bin;
        const QString ran = bin.filePath(QStringLiteral("ran"));
        if (desktopOpener >= 0)
            QVERIFY(WriteScript(bin.filePath(QStringLiteral("xdg-open")),
                                QStringLiteral("touch '%1'; exit %2").arg(ran).arg(desktopOpener)));
        if (terminal)
            QVERIFY(WriteScript(bin.filePath(QStringLiteral("x-terminal-emulator")),
                                QStringLiteral("echo \"$@\" > '%1'; touch '%2'").arg(bin.filePath("asked"), ran)));
        qputenv("PATH", bin.path().toLocal8Bit() + ":/usr/bin:/bin");
        qputenv("VISUAL", visual.toLocal8Bit());
        qputenv("EDITOR", editor.toLocal8Bit());
        const QString file = bin.filePath(QStringLiteral("Good Sym.txt"));

        const bool started = OpenTextFile(nullptr, file);
        if (desktopOpener >= 0 || !terminalCommand.isEmpty()) QTRY_VERIFY(QFile::exists(ran));
        QTest::qWait(200); // the opener's end reaches the program
        const QStringList shown = MessageBoxes::TakeShown();
        QCOMPARE(shown, message ? QStringList{"Quillon|" + CannotOpenTextFileText(file)} : QStringList{});
        QVERIFY(shown.isEmpty() || shown.first().contains(file));
        QCOMPARE(started, desktopOpener >= 0 || !terminalCommand.isEmpty());
        QFile asked(bin.filePath(QStringLiteral("asked")));
        const QString command = asked.open(QIODevice::ReadOnly) ? QString::fromUtf8(asked.readAll()).trimmed() : QString();
        QCOMPARE(command, QString(terminalCommand).replace(QStringLiteral("FILE"), file));
    }
};

QTEST_MAIN(EditorOpeningTest)
#include "EditorOpeningTest.moc"
