#include "desktop/DesktopSession.h"

#include <QApplication>

namespace {

// Turns of the event loop spent waiting for dialogs to close and steps to end before the program
// stops waiting.
constexpr int MaxWaits = 1000;

} // namespace

DesktopSession::DesktopSession(SharedState& state, DesktopServices& services, ServerSourceFactory makeServerSource)
    : state_(state), services_(services), makeServerSource_(std::move(makeServerSource))
{
}

void DesktopSession::ShowMainWindow()
{
    if (ending_) return;
    auto* window = new Splash(state_, services_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    connect(window, &Splash::StartRequested, this, &DesktopSession::StartRun);
    connect(window, &Splash::PassTableRequested, this, &DesktopSession::ShowPassTable);
    mainWindow_ = window;
    // Back where the user left it before the run, not wherever the window manager puts a new one.
    if (mainWindowPosition_) window->move(*mainWindowPosition_);
    window->show();
}

void DesktopSession::StartRun()
{
    auto* window = new Tracing(state_, services_, makeServerSource_);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // Direct: the main window must be up before the closing run window disappears, or the program
    // would see its last window close and end.
    connect(window, &Tracing::RunWindowClosed, this, &DesktopSession::ShowMainWindow);
    connect(window, &Tracing::QuitRequested, this, &DesktopSession::EndProgram);
    connect(window, &Tracing::PassTableRequested, this, &DesktopSession::ShowPassTable);
    connect(window, &Tracing::PassTableGrew, this, &DesktopSession::PassTableGrew);
    runWindow_ = window;
    if (mainWindow_) mainWindowPosition_ = mainWindow_->pos();
    // The run window is up before the main window goes, so the program never has no window.
    window->show();
    if (mainWindow_) mainWindow_->close();
}

void DesktopSession::EndProgram()
{
    ending_ = true;
    if (waits_ >= MaxWaits) {
        // Something will not close: end the event loops, whatever is still open.
        QCoreApplication::quit();
        return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        EndProgramLater();
        return;
    }
    // The step that asked the closed question is still on the stack: it ends before the window.
    if (runWindow_ && runWindow_->InStep()) {
        EndProgramLater();
        return;
    }
    if (runWindow_) runWindow_->close();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

// From the event loop, after the code below the current event handler has run on.
void DesktopSession::EndProgramLater()
{
    ++waits_;
    QMetaObject::invokeMethod(this, &DesktopSession::EndProgram, Qt::QueuedConnection);
}

void DesktopSession::ShowPassTable()
{
    if (!passTable_)
        passTable_ = std::make_unique<PassTableWindow>(state_, services_);
    else if (!passTable_->isVisible())
        passTable_->Reload(); // the file may have changed while the window was closed
    passTable_->show();
    passTable_->raise();
    passTable_->activateWindow();
}

void DesktopSession::PassTableGrew(const CsvRow& cells, bool startsTable)
{
    // A closed window reads the file when it opens again.
    if (passTable_ && passTable_->isVisible()) passTable_->AppendRow(cells, startsTable);
}
