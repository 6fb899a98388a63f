#include "dialogs/SettingsSaving.h"

#include "app/SettingsFile.h"
#include "platform/widgets/MessageBoxes.h"

void SaveSettings(QWidget* parent, const SharedState& state)
{
    if (WriteSettings(state.Settings, state.Paths.FnSettings)) return;
    MessageBoxes::ShowMessage(parent, QString::fromStdString(CannotCreateText(state.Paths.FnSettings)));
}
