#pragma once
// "Setup - Quote Server": where quotes come from and with which login. No OK or Cancel: however
// the dialog is closed, its fields are taken over and the settings file is rewritten.

#include <QDialog>

#include "core/SharedState.h"

class DesktopServices;
class QLineEdit;
class QPushButton;

class QuoteServer : public QDialog {
    Q_OBJECT
public:
    QuoteServer(SharedState& state, DesktopServices& services, QWidget* parent = nullptr);

    QLineEdit* TX_UserName;
    QLineEdit* TX_Password;
    QLineEdit* TX_DNSN;
    QLineEdit* TX_PN;
    QLineEdit* TX_GQS;
    QLineEdit* TX_GOQS;
    QLineEdit* TX_Switch;
    QPushButton* CM_QuoteServerUseDefault;

    void done(int result) override;

private:
    void Form_Activate();
    void CM_QuoteServerUseDefault_Click();
    void Form_Unload();

    SharedState& state_;
};
