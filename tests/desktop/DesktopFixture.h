#pragma once
// What every window test starts from: a program directory of its own, one shared state on a fixed
// clock, and a desktop that records what the windows ask of it.

#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "core/report/Printer.h"
#include "core/settings/SettingsFile.h"
#include "core/SharedState.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "desktop/services/DesktopServices.h"

// A desktop that records what the windows ask of it and answers the file dialog from a script.
class FakeDesktopServices final : public DesktopServices {
public:
    std::optional<QString> nextChoice; // the file dialogs' answer; nothing = Cancel
    QStringList opened;
    QList<int> helpTopics;
    int beeps = 0;

    std::optional<QString> ChooseSymbolFile(QWidget*, const QString&, const QString&) override { return nextChoice; }
    std::optional<QString> ChooseExportFile(QWidget*, const QString&) override { return nextChoice; }
    bool OpenInEditor(QWidget*, const QString& path) override
    {
        opened << path;
        return editorFound;
    }
    bool editorFound = true;
    void ShowHelpTopic(QWidget*, int contextNumber) override { helpTopics << contextNumber; }
    std::unique_ptr<DesktopPrinter> SetUpPrinter(QWidget*, const QString&) override { return nullptr; }
    void Beep() override { ++beeps; }
    bool AlarmAudible() const override { return audible; }
    bool audible = true;
};

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
