// Start-up as the program meets its directory: the agreement gate, the fresh start it leads to and
// what it must leave alone. The scenes are the scripts of cases/scripts/startup.txt.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/TextFile.h"
#include "support/Transcript.h"

namespace {

class StartupScene : public StartupHost, public DirectoryScene {
public:
    void Do(const std::string& verb, const std::string& arguments)
    {
        std::istringstream words(arguments);
        std::string word;
        if (verb == "earlier-start") { // a directory from an earlier start accepted at VERSION
            DoInDirectory("write", "Accepted.--- " + arguments + "\\r\\n");
            UserSettings settings;
            SetDefaults(settings);
            settings.FnSym = "/data/other.sym";
            settings.DnsName = "quotes.example.net";
            EXPECT_TRUE(WriteSettings(settings, directory.File("Quillon.---")));
            for (const char* file : {"Results.txt a saved block\\r\\n", "GoodSym.txt IBM\\r\\n", "BadSym.txt XYZ\\r\\n",
                                     "Symbols.sym IBM\\r\\nXYZ\\r\\n"})
                DoInDirectory("write", file);
        } else if (verb == "start") { // agree|disagree [DIRECTORY]: the program starts on its directory
            words >> word;
            agree_ = word == "agree";
            words >> word;
            const StartupOutcome outcome = Main(state, *this, directory.Path() + (word == "/" ? "/" : ""));
            log.push_back(outcome == StartupOutcome::ShowMainWindow ? "main window"
                          : outcome == StartupOutcome::Disagreed    ? "ended: disagreed"
                                                                    : "ended: no record");
        } else if (verb == "load") { // the headless start
            PrepareSharedState(state, directory.Path());
            state.Settings.MinPE = Criterion::Number(3); // loading starts from the defaults, not from this
            log.push_back(LoadSettingsOrDefaults(state) ? "loaded" : "not loaded");
        } else if (verb == "snapshot") {
            snapshot_ = Files();
        } else if (verb == "show") {
            Show(arguments);
        } else if (!DoInDirectory(verb, arguments)) {
            ADD_FAILURE() << "no action " << verb;
        }
    }

    void ShowAgreement(SharedState& shown) override
    {
        log.push_back(std::string("agreement shown, ") + (shown.AgreementAccepted ? "accepted" : "not accepted") +
                      " before, " + (agree_ ? "agreed" : "not agreed"));
        if (agree_) shown.AgreementAccepted = true;
    }
    void ShowMessage(const std::string& text) override
    {
        log.push_back("message " + Relative(Escaped(text)));
    }

private:
    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(directory.Path()))
            files[entry.path().filename().string()] = FileSummary(entry.path().string());
        return files;
    }

    // Settings as the lines of their file that differ from the defaults of this directory.
    std::string SettingsShown(const UserSettings& settings) const
    {
        UserSettings defaults;
        defaults.FnSym = directory.File("Symbols.sym");
        SetDefaults(defaults);
        const std::string text = SettingsFileText(settings), defaultText = SettingsFileText(defaults);
        const std::vector<std::string_view> lines = SplitLines(text), defaultLines = SplitLines(defaultText);
        std::string shown = "defaults";
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i] != defaultLines.at(i)) shown += " but " + std::to_string(i + 1) + ": " + std::string(lines[i]);
        return shown;
    }

    void Show(const std::string& what)
    {
        if (what == "settings") {
            UserSettings onDisk;
            const bool read = ReadSettings(onDisk, directory.File("Quillon.---"));
            log.push_back("in memory " + SettingsShown(state.Settings) + "; on disk " +
                          (read ? SettingsShown(onDisk) : "none") + "; in " + state.Paths.FnSettings.substr(
                              directory.Path().size()));
        } else if (what == "changes") { // since the snapshot
            std::string changes;
            for (const auto& [name, summary] : Files())
                if (!snapshot_.contains(name) || snapshot_.at(name) != summary) changes += " " + name;
            for (const auto& [name, summary] : snapshot_)
                if (!Files().contains(name)) changes += " -" + name;
            log.push_back("changed:" + (changes.empty() ? " nothing" : changes));
        } else {
            ShowFile(what);
        }
    }

    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    bool agree_ = false;
    std::map<std::string, std::string> snapshot_;
};

TEST(Startup, PlaysItsScripts) { PlayScripts<StartupScene>("startup.txt"); }

} // namespace
