#pragma once
// What the windows ask of the desktop beyond their own widgets: the symbol file dialog, the user's
// editor, help topics, the printer and the alarm sound. Tests substitute a recording fake.

#include <QString>
#include <memory>
#include <optional>

#include "core/report/Printer.h"

class QWidget;

// A printer for one document that can say afterwards where the document went.
class DesktopPrinter : public Printer {
public:
    // For the status line once the document has ended: "Printed 3 pages", "Printed to FILE.pdf",
    // or why nothing was printed.
    virtual QString DoneText() const = 0;
};

// Context numbers of the help topics.
inline constexpr int HelpContentsTopic = 1;
inline constexpr int HelpContactTopic = 102;

class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // The symbol file dialog in `directory` with `file` preselected; the full path of the chosen or
    // typed name ("txt" appended to a name without extension), nothing when cancelled.
    virtual std::optional<QString> ChooseSymbolFile(QWidget* parent, const QString& directory,
                                                    const QString& file) = 0;
    // The save dialog for an export, `suggested` preselected; the full path, nothing when cancelled.
    virtual std::optional<QString> ChooseExportFile(QWidget* parent, const QString& suggested) = 0;
    // Opens a file in the user's editor without waiting; when no editor can be found a message
    // box over `parent` names the file. False when nothing could be started at all.
    virtual bool OpenInEditor(QWidget* parent, const QString& path) = 0;
    // Help topic by context number: HelpContentsTopic or HelpContactTopic.
    virtual void ShowHelpTopic(QWidget* parent, int contextNumber) = 0;
    // The Print Setup dialog, then a printer for one document; nothing when the user cancelled.
    // Printing to a file offers `pdfFile`.
    virtual std::unique_ptr<DesktopPrinter> SetUpPrinter(QWidget* parent, const QString& pdfFile) = 0;
    // One alarm sound, without waiting for it to end.
    virtual void Beep() = 0;
    // False when the alarm makes no sound the program can vouch for (no sound player installed).
    virtual bool AlarmAudible() const = 0;
};

// The real desktop: file dialog, xdg opening, the help window, QPrinter, the shipped chime.
std::unique_ptr<DesktopServices> MakePlatformServices();
