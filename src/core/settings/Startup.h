#pragma once
// Start-up: the shared state's first values, the file paths, the agreement gate and the settings.
// The windows are the caller's: it shows the main window when Main says so.

#include <string>

#include "core/SharedState.h"

// What start-up needs from the desktop: the agreement dialog and message boxes.
class StartupHost {
public:
    virtual ~StartupHost() = default;
    // Shows the agreement modally and returns when it is closed. AGREE sets
    // state.AgreementAccepted true; DISAGREE or closing the window leaves it false.
    virtual void ShowAgreement(SharedState& state) = 0;
    // A message box with the program's title and only an OK button; returns when it is closed.
    virtual void ShowMessage(const std::string& text) = 0;
};

enum class StartupOutcome {
    ShowMainWindow,   // the caller shows the main window and runs the event loop
    Disagreed,        // the user did not accept the agreement: the program ends
    RecordNotCreated, // the acceptance could not be recorded: the program ends
};

// The message after DISAGREE: six lines joined by CR LF, the fourth empty.
std::string DisagreeText();

// Fixed values (version, ticker text, symbols not loaded) and the file paths of
// `programDirectory`; the symbol file is the default one until the settings name another.
void PrepareSharedState(SharedState& state, const std::string& programDirectory);

// Loads the settings from Paths.FnSettings into state.Settings, starting from the defaults so that
// fields a damaged file lacks keep them. Without a readable file the defaults are written. False
// only when that write failed (the defaults are in effect in memory); the caller then shows
// CannotCreateText(state.Paths.FnSettings). Needs PrepareSharedState first.
[[nodiscard]] bool LoadSettingsOrDefaults(SharedState& state);

// The whole start-up in `programDirectory`: prepares the shared state, removes debris of
// interrupted file rewrites, passes the agreement gate and loads the settings. On the first start
// of a version the user must accept the agreement; that starts afresh with default settings and
// empty results, good and bad symbol files. Messages go to the host.
StartupOutcome Main(SharedState& state, StartupHost& host, const std::string& programDirectory);
