#pragma once
// Every dialog and menu item that changes a setting rewrites the whole settings file through here.

#include "core/SharedState.h"

class QLabel;
class QWidget;

// Writes all settings to FnSettings; when that fails, says "Cannot create " + path. The values in
// memory stay in force either way.
void SaveSettings(QWidget* parent, const SharedState& state);

// The line at the foot of every setup dialog: they have no Cancel, so that Esc, which closes them,
// saves as well and surprises nobody.
QLabel* NewSavedOnCloseNote(QWidget* dialog);
