#include "desktop/dialogs/SettingsSaving.h"

#include "core/settings/SettingsFile.h"
#include "desktop/services/MessageBoxes.h"

void SaveSettings(QWidget* parent, const SharedState& state)
{
    if (WriteSettings(state.Settings, state.Paths.FnSettings)) return;
    MessageBoxes::ShowMessage(parent, QString::fromStdString(CannotCreateText(state.Paths.FnSettings)));
}
