#include "desktop/services/TextFileOpener.h"

#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

#include "desktop/services/MessageBoxes.h"

namespace {

// The user's terminal editor in a terminal window; false when there is no editor named or no
// terminal to show it in.
bool OpenInTerminalEditor(const QString& path)
{
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString editor = environment.value(QStringLiteral("VISUAL"));
    if (editor.trimmed().isEmpty()) editor = environment.value(QStringLiteral("EDITOR"));
    // "code --wait" and the like: the variable holds a command line, not just a program.
    const QStringList command = QProcess::splitCommand(editor);
    if (command.isEmpty()) return false;
    for (const char* name : {"x-terminal-emulator", "xterm"}) {
        const QString terminal = QStandardPaths::findExecutable(QLatin1String(name));
        if (!terminal.isEmpty()) return QProcess::startDetached(terminal, QStringList{QStringLiteral("-e")} + command + QStringList{path});
    }
    return false;
}

bool OpenWithoutDesktopOpener(const QPointer<QWidget>& parent, const QString& path)
{
    if (OpenInTerminalEditor(path)) return true;
    MessageBoxes::ShowMessage(parent, CannotOpenTextFileText(path));
    return false;
}

} // namespace

QString CannotOpenTextFileText(const QString& path)
{
    return QStringLiteral("No program is registered to open text files, so this file cannot be shown:\n%1\n\n"
                          "Install a text editor, or set VISUAL or EDITOR to one.")
        .arg(path);
}

bool OpenTextFile(QWidget* parent, const QString& path)
{
    const QPointer<QWidget> owner(parent);
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) return OpenWithoutDesktopOpener(owner, path);
    // xdg-open says only by its exit status that no program takes text files; it may also stay
    // until the editor it started ends, so the answer is awaited without blocking.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process, [process, owner, path](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status != QProcess::NormalExit || exitCode != 0) (void)OpenWithoutDesktopOpener(owner, path);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, owner, path](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        process->deleteLater();
        (void)OpenWithoutDesktopOpener(owner, path);
    });
    process->start(opener, {path});
    return true;
}
