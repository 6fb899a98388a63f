#pragma once
// A desktop that records what the windows ask of it and answers the file dialog from a script.

#include <QString>
#include <QStringList>
#include <optional>

#include "desktop/services/DesktopServices.h"
#include "core/report/Printer.h"

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
