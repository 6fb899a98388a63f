#pragma once
// "Setup - Risk Free Interest Rate": the rate in percent. Closing takes it over (a non-numeric
// entry restores 5 %) and rewrites the settings file.

#include <QDialog>

#include "core/SharedState.h"

class DesktopServices;
class QLineEdit;

class Interest : public QDialog {
    Q_OBJECT
public:
    Interest(SharedState& state, DesktopServices& services, QWidget* parent = nullptr);

    QLineEdit* TX_Interest;

    void done(int result) override;

private:
    void Form_Unload();

    SharedState& state_;
};
