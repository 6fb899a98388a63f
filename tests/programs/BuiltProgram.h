#pragma once
// Runs one of the programs of this build to its end as a user would from a shell, with the
// offscreen platform unless the caller names another.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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

// The environment the programs are started with: ours, on the offscreen platform.
inline QProcessEnvironment OffscreenEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

// Starts `process` on the program `name`; false when it did not start.
inline bool StartBuiltProgram(QProcess& process, const char* name, const QStringList& arguments,
                              const QProcessEnvironment& environment = OffscreenEnvironment())
{
    process.setProcessEnvironment(environment);
    process.start(BuiltProgram(name), arguments);
    return process.waitForStarted(10000);
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

inline ProgramEnd RunBuiltProgram(const char* name, const QStringList& arguments,
                                  const QProcessEnvironment& environment = OffscreenEnvironment())
{
    QProcess process;
    if (!StartBuiltProgram(process, name, arguments, environment)) return {};
    return WaitForEnd(process);
}
