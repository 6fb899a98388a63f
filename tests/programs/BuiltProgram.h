#pragma once
// A program of this build, and what it left when it ended.

#include <QProcess>
#include <QString>

struct ProgramEnd {
    bool Crashed = true; // killed by a signal, or did not end in time
    int ExitCode = -1;
    QString Output;      // standard output
    QString Errors;      // standard error
};

inline QString BuiltProgram(const char* name)
{
    return QStringLiteral(QUILLON_BINARY_DIR "/") + QLatin1String(name);
}

// Waits for `process` to end by itself within `timeoutMs` and collects what it wrote.
inline ProgramEnd WaitForEnd(QProcess& process, int timeoutMs = 60000)
{
    ProgramEnd end;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(5000);
        return end;
    }
    end.Crashed = process.exitStatus() != QProcess::NormalExit;
    end.ExitCode = process.exitCode();
    end.Output = QString::fromLocal8Bit(process.readAllStandardOutput());
    end.Errors = QString::fromLocal8Bit(process.readAllStandardError());
    return end;
}
