#pragma once
// The desktop program's windows after start-up: the main window, and in its place the run window
// while a run is open. Exactly one of the two is shown at a time; closing the main window ends
// the program, closing the run window brings the main window back.

#include <QObject>
#include <QPointer>

#include "app/SharedState.h"
#include "mainwindow/Splash.h"
#include "tracing/Tracing.h"

class DesktopServices;

class DesktopSession : public QObject {
    Q_OBJECT
public:
    DesktopSession(SharedState& state, DesktopServices& services, ServerSourceFactory makeServerSource);

    // Opens a fresh main window (its activation shows the current settings).
    void ShowMainWindow();

    Splash* MainWindow() const { return mainWindow_; }
    Tracing* RunWindow() const { return runWindow_; }

private:
    void StartRun();

    SharedState& state_;
    DesktopServices& services_;
    ServerSourceFactory makeServerSource_;
    QPointer<Splash> mainWindow_;
    QPointer<Tracing> runWindow_;
};
