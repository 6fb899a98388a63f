#pragma once
// The start-up gate's dialogs on the desktop: the agreement window and message boxes.

#include "core/settings/Startup.h"

class DesktopServices;

class DesktopStartupHost final : public StartupHost {
public:
    // `services` answers F1 in the agreement window; it must outlive the host.
    explicit DesktopStartupHost(DesktopServices& services) : services_(services) {}

    void ShowAgreement(SharedState& state) override;
    void ShowMessage(const std::string& text) override;

private:
    DesktopServices& services_;
};
