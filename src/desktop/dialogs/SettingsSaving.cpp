#include "desktop/dialogs/SettingsSaving.h"

#include <QLabel>

#include "core/settings/SettingsFile.h"
#include "desktop/services/MessageBoxes.h"

void SaveSettings(QWidget* parent, const SharedState& state)
{
    if (WriteSettings(state.Settings, state.Paths.FnSettings)) return;
    MessageBoxes::ShowMessage(parent, QString::fromStdString(CannotCreateText(state.Paths.FnSettings)));
}

QLabel* NewSavedOnCloseNote(QWidget* dialog)
{
    auto* note = new QLabel(QStringLiteral("Changes are saved when you close this window."), dialog);
    note->setObjectName(QStringLiteral("SavedOnCloseNote"));
    note->setEnabled(false); // drawn in the quieter colour of a remark
    return note;
}
