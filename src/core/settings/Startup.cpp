#include "core/settings/Startup.h"

#include <iterator>

#include "core/settings/AcceptanceRecord.h"
#include "core/settings/SettingsFile.h"
#include "core/text/TextFile.h"

namespace {

bool AgreementRecorded(const SharedState& state)
{
    const auto version = ReadAcceptanceRecord(state.Paths.FnAcceptance);
    return version && state.ProgramVersion <= *version;
}

// The user has just accepted the agreement of this version: record that, then start afresh.
// The record is written before anything is discarded, so a failure to write it costs nothing.
StartupOutcome BeginNewVersion(SharedState& state, StartupHost& host)
{
    const FilePaths& paths = state.Paths;
    if (!WriteAcceptanceRecord(paths.FnAcceptance, state.ProgramVersion)) {
        host.ShowMessage(CannotCreateText(paths.FnAcceptance) + ", program stopped.");
        return StartupOutcome::RecordNotCreated;
    }
    // Failures here are harmless: a settings file that stays is read instead of the defaults, and
    // an output file that cannot be emptied is reported when a run opens it.
    (void)RemoveFile(paths.FnSettings);
    for (const std::string* path : {&paths.FnResults, &paths.FnGoodSym, &paths.FnBadSym})
        (void)CreateEmptyFile(*path);
    return StartupOutcome::ShowMainWindow;
}

StartupOutcome PassAgreementGate(SharedState& state, StartupHost& host)
{
    if (AgreementRecorded(state)) return StartupOutcome::ShowMainWindow;
    state.AgreementAccepted = false;
    host.ShowAgreement(state);
    if (!state.AgreementAccepted) {
        host.ShowMessage(DisagreeText());
        return StartupOutcome::Disagreed;
    }
    return BeginNewVersion(state, host);
}

} // namespace

std::string DisagreeText()
{
    constexpr const char* lines[] = {
        "We regret you could not agree with the End-User Agreement.",
        "If you change mind before this program is uninstalled, simply",
        "run it again and click on the Agree button.",
        "",
        "To uninstall Quillon, please use Add/Remove Programs",
        "utility on Windows' Control Panel.",
    };
    std::string text = lines[0];
    for (std::size_t i = 1; i < std::size(lines); ++i) {
        text += CrLf;
        text += lines[i];
    }
    return text;
}

void PrepareSharedState(SharedState& state, const std::string& programDirectory)
{
    state.ProgramVersion = ProgramVersionNumber;
    state.TickerText = SampleTickerText;
    state.SymbolsLoaded = false;
    state.Paths = FilePaths::Build(programDirectory);
    state.Settings.FnSym = state.Paths.DefaultFnSym;
}

bool LoadSettingsOrDefaults(SharedState& state)
{
    const std::string& fnSettings = state.Paths.FnSettings;
    SetDefaults(state.Settings);
    if (ReadSettings(state.Settings, fnSettings)) return true;
    const bool saved = WriteSettings(state.Settings, fnSettings);
    // Reading back makes memory hold exactly what the file now says.
    (void)ReadSettings(state.Settings, fnSettings);
    return saved;
}

StartupOutcome Main(SharedState& state, StartupHost& host, const std::string& programDirectory)
{
    PrepareSharedState(state, programDirectory);
    RemoveLeftoverTemporaryFiles(state.Paths.ProgramDirectory);
    const StartupOutcome gate = PassAgreementGate(state, host);
    if (gate != StartupOutcome::ShowMainWindow) return gate;
    if (!LoadSettingsOrDefaults(state)) host.ShowMessage(CannotCreateText(state.Paths.FnSettings));
    return StartupOutcome::ShowMainWindow;
}
