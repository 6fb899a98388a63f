#include "dialogs/DesktopStartupHost.h"

#include "dialogs/Agree.h"
#include "platform/widgets/MessageBoxes.h"

void DesktopStartupHost::ShowAgreement(SharedState& state)
{
    Agree agree(state.AgreementAccepted, services_);
    agree.exec();
}

void DesktopStartupHost::ShowMessage(const std::string& text)
{
    MessageBoxes::ShowMessage(nullptr, QString::fromStdString(text));
}
