#pragma once
// What every window test starts from: a program directory of its own, one shared state on a fixed
// clock, and a desktop that records what the windows ask of it.

#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "FakeDesktopServices.h"
#include "core/settings/SettingsFile.h"
#include "core/SharedState.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"

struct DesktopFixture {
    explicit DesktopFixture(LocalDateTime now = {}) : clock(now) {}

    // A fresh, empty program directory and a shared state that knows nothing of it yet.
    void NewProgramDirectory()
    {
        dir = std::make_unique<QTemporaryDir>();
        state = std::make_unique<SharedState>(clock);
    }
    // A fresh program directory with its file paths built and every setting at its default.
    void NewProgramDirectoryWithDefaults()
    {
        NewProgramDirectory();
        PrepareSharedState(*state, dir->path().toStdString());
        SetDefaults(state->Settings);
    }

    // Line n (1-based) of the settings file as written.
    QString SettingsLine(int n) const
    {
        const auto content = ReadWholeFile(state->Paths.FnSettings);
        if (!content) return QStringLiteral("<no file>");
        const auto lines = SplitLines(*content);
        if (n < 1 || n > int(lines.size())) return QStringLiteral("<no line>");
        return QString::fromStdString(std::string(lines[n - 1]));
    }

    // The rows of `columns` tab-separated fields of a table beside the window tests.
    static QList<QStringList> TableRows(const QString& table, int columns)
    {
        QFile file(QStringLiteral(QUILLON_SOURCE_DIR "/tests/desktop/") + table);
        if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(table));
        QList<QStringList> rows;
        while (!file.atEnd()) {
            const QStringList fields = QString::fromUtf8(file.readLine()).remove(QLatin1Char('\n')).split(QLatin1Char('\t'));
            if (fields.size() == columns && !fields[0].startsWith(QLatin1Char('#'))) rows << fields;
        }
        return rows;
    }

    std::unique_ptr<QTemporaryDir> dir;
    FixedClock clock;
    std::unique_ptr<SharedState> state;
    FakeDesktopServices services;
};
