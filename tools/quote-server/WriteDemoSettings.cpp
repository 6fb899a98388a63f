// quillon-demo-settings: writes the settings file of a program directory that points at a stand-in
// quote server on this machine, and the record that this version's agreement was accepted:
// without it the desktop program would show the agreement and, once it is accepted, start afresh
// with default settings. Used by tools/demo.sh and tools/gui.sh, so the files' format stays the
// program's own.

#include <cstdio>
#include <string>

#include "core/SharedState.h"
#include "core/settings/AcceptanceRecord.h"
#include "core/settings/FilePaths.h"
#include "core/numbers/NumberText.h"
#include "core/settings/SettingsFile.h"

namespace {

constexpr const char* Usage =
    "usage: quillon-demo-settings DIR PORT SYMBOL_FILE [MIN_QVA_DIFFERENCE]\n"
    "Writes DIR/Quillon.--- with the default settings, the quote server at 127.0.0.1:PORT, the\n"
    "symbol file, and both QVA difference criteria set to MIN_QVA_DIFFERENCE percentage points\n"
    "(default 3; NA switches them off), and DIR/Accepted.--- for this version.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const std::optional<std::int32_t> port = ParseInteger(argv[2]);
    if (!port || *port < 1 || *port > 65535) {
        std::fputs(Usage, stderr);
        return 2;
    }
    UserSettings settings;
    SetDefaults(settings);
    settings.DnsName = "127.0.0.1";
    settings.PortNumber = *port;
    settings.FnSym = argv[3];
    settings.GetQuoteFromLocalFile = false;
    const std::string difference = argc == 5 ? argv[4] : "3";
    settings.MinQVAC_QVAP = ValueCheck(difference);
    settings.MinQVAP_QVAC = ValueCheck(difference);
    const FilePaths paths = FilePaths::Build(argv[1]);
    if (!WriteSettings(settings, paths.FnSettings)) {
        std::fprintf(stderr, "%s\n", CannotCreateText(paths.FnSettings).c_str());
        return 1;
    }
    if (!WriteAcceptanceRecord(paths.FnAcceptance, ProgramVersionNumber)) {
        std::fprintf(stderr, "%s\n", CannotCreateText(paths.FnAcceptance).c_str());
        return 1;
    }
    return 0;
}
