#pragma once
// The desktop program's windows after start-up: the main window, and in its place the run window
// while a run is open. Exactly one of the two is shown at a time; closing the main window ends
// the program, closing the run window brings the main window back.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <memory>
#include <optional>

#include "core/SharedState.h"
#include "desktop/windows/PassTableWindow.h"
#include "desktop/windows/Splash.h"
#include "desktop/windows/Tracing.h"

class DesktopServices;

class DesktopSession : public QObject {
    Q_OBJECT
public:
    DesktopSession(SharedState& state, DesktopServices& services, ServerSourceFactory makeServerSource);

    // Opens a fresh main window (its activation shows the current settings). Does nothing once
    // the program is ending.
    void ShowMainWindow();

    // Ends the program as a user closing its windows would, so that no file is left half done:
    // an open dialog or question is closed first (a settings dialog saves as on every close, a
    // question counts as No) and the code that opened it carries on; then the run window closes
    // between two steps of the run, keeping its progress record; then every other window, and
    // the event loop ends. Safe to call at any moment, also before the first window opens.
    void EndProgram();
    bool Ending() const { return ending_; }

    Splash* MainWindow() const { return mainWindow_; }
    Tracing* RunWindow() const { return runWindow_; }
    // The pass table window once opened; it lives as long as the session, so that it keeps its
    // size and columns between openings and follows every run window's pass.
    PassTableWindow* PassTable() const { return passTable_.get(); }

private:
    void StartRun();
    void EndProgramLater();
    void ShowPassTable();
    void PassTableGrew(const CsvRow& cells, bool startsTable);

    SharedState& state_;
    DesktopServices& services_;
    ServerSourceFactory makeServerSource_;
    QPointer<Splash> mainWindow_;
    QPointer<Tracing> runWindow_;
    std::unique_ptr<PassTableWindow> passTable_;
    std::optional<QPoint> mainWindowPosition_; // where the main window stood when the run window opened
    bool ending_ = false;
    int waits_ = 0;
};
