#include "mainwindow/DesktopSession.h"

DesktopSession::DesktopSession(SharedState& state, DesktopServices& services, ServerSourceFactory makeServerSource)
    : state_(state), services_(services), makeServerSource_(std::move(makeServerSource))
{
}

void DesktopSession::ShowMainWindow()
{
    auto* window = new Splash(state_, services_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &Splash::StartRequested, this, &DesktopSession::StartRun);
    mainWindow_ = window;
    window->show();
}

void DesktopSession::StartRun()
{
    auto* window = new Tracing(state_, services_, makeServerSource_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Direct: the main window must be up before the closing run window disappears, or the program
    // would see its last window close and end.
    connect(window, &Tracing::RunWindowClosed, this, &DesktopSession::ShowMainWindow);
    runWindow_ = window;
    // The run window is up before the main window goes, so the program never has no window.
    window->show();
    if (mainWindow_) mainWindow_->close();
}
