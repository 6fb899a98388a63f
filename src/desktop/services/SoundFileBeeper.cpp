#include "desktop/services/SoundFileBeeper.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

// A player needs a file on disk; the chime lives in the resources, so it is copied out once.
QString ExtractChime()
{
    const QString target = QDir(QStandardPaths::writableLocation(QStandardPaths::TempLocation))
                               .filePath(QStringLiteral("quillon-alarm-%1.wav").arg(QCoreApplication::applicationPid()));
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(":/quillon/alarm.wav"), target)) return {};
    return target;
}

QString FindPlayer()
{
    for (const char* name : {"paplay", "aplay"}) {
        const QString path = QStandardPaths::findExecutable(QLatin1String(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

} // namespace

SoundFileBeeper::SoundFileBeeper() : player_(FindPlayer())
{
    if (player_.isEmpty()) return;
    soundFile_ = ExtractChime();
    // aplay would announce every file it plays on the terminal the program was started from.
    if (QFileInfo(player_).fileName() == QLatin1String("aplay")) arguments_ << QStringLiteral("-q");
    arguments_ << soundFile_;
}

SoundFileBeeper::~SoundFileBeeper()
{
    if (!soundFile_.isEmpty()) QFile::remove(soundFile_);
}

void SoundFileBeeper::Beep()
{
    if (soundFile_.isEmpty() || !QProcess::startDetached(player_, arguments_)) QApplication::beep();
}
