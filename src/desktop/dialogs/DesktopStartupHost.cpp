#include "desktop/dialogs/DesktopStartupHost.h"

#include "desktop/dialogs/Agree.h"
#include "desktop/services/MessageBoxes.h"

void DesktopStartupHost::ShowAgreement(SharedState& state)
{
    Agree agree(state.AgreementAccepted, services_);
    agree.exec();
}

void DesktopStartupHost::ShowMessage(const std::string& text)
{
    MessageBoxes::ShowMessage(nullptr, QString::fromStdString(text));
}
