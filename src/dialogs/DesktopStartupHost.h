#pragma once
// The start-up gate's dialogs on the desktop: the agreement window and message boxes.

#include "app/Startup.h"

class DesktopStartupHost final : public StartupHost {
public:
    void ShowAgreement(SharedState& state) override;
    void ShowMessage(const std::string& text) override;
};
