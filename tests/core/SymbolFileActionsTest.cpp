// Choosing, editing and swapping the symbol file as the main window's menu does it. The scenes are
// the scripts of cases/scripts/symbol-file.txt.

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "core/settings/SymbolFileActions.h"
#include "core/text/TextFile.h"
#include "support/Transcript.h"

namespace {

class SymbolFileScene final : public SymbolFileHost, public DirectoryScene {
public:
    SymbolFileScene()
    {
        state.Paths = FilePaths::Build(directory.Path());
        state.Settings.FnSym = state.Paths.DefaultFnSym;
    }

    void Do(const std::string& verb, const std::string& arguments)
    {
        std::istringstream words(arguments);
        std::string word;
        if (verb == "run-position") { // a pass under way: its progress record, the list in memory
            EXPECT_TRUE(ReplaceFile(state.Paths.FnProgress, "3,17\r\n"));
            state.SymbolsLoaded = true;
        } else if (verb == "choose") { // FILE, or nothing for a cancelled dialog
            chosen_ = arguments.empty() ? std::nullopt : std::optional(directory.File(arguments));
            log.push_back(ChooseSymbolFile(state, *this) ? "chosen" : "not chosen");
        } else if (verb == "edit") {
            EditSymbolFile(state, *this);
        } else if (verb == "swap") { // yes|no FILE
            std::string other;
            words >> word >> other;
            answer_ = word == "yes";
            log.push_back(SwapSymbolFile(state, *this, directory.File(other)) ? "went ahead" : "declined");
        } else if (verb == "show") {
            Show(arguments);
        } else if (!DoInDirectory(verb, arguments)) {
            ADD_FAILURE() << "no action " << verb;
        }
    }

    std::optional<std::string> ChooseFileName(const std::string& dir, const std::string& file) override
    {
        log.push_back("file dialog in " + Relative(dir) + " at " + Relative(file));
        return chosen_;
    }
    void OpenInEditor(const std::string& path) override { log.push_back("editor opens " + Relative(path)); }
    void ShowMessage(const std::string& text) override { log.push_back("message " + Relative(text)); }
    bool AskYesNo(const std::string& text) override
    {
        log.push_back("asked " + Escaped(Relative(text)) + (answer_ ? ": yes" : ": no"));
        return answer_;
    }
    void SaveSettings() override { log.push_back("settings saved"); }

private:
    void Show(const std::string& what)
    {
        if (what == "run-position")
            log.push_back(std::string("progress record ") + (FileExists(state.Paths.FnProgress) ? "kept" : "gone") +
                          ", list " + (state.SymbolsLoaded ? "in memory" : "forgotten") + ", symbol file " +
                          Relative(state.Settings.FnSym));
        else
            ShowFile(what);
    }

    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    std::optional<std::string> chosen_;
    bool answer_ = false;
};

TEST(SymbolFileActions, PlaysTheirScripts) { PlayScripts<SymbolFileScene>("symbol-file.txt"); }

} // namespace
