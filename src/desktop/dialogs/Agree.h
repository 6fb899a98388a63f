#pragma once
// The end-user agreement: at the start-up gate it asks for AGREE or DISAGREE; opened for review
// (AgreementAccepted already true) it only shows the text.

#include <QDialog>

class DesktopServices;
class QPlainTextEdit;
class QPushButton;

class Agree : public QDialog {
    Q_OBJECT
public:
    // `agreementAccepted` is the shared flag: true on entry means review mode; AGREE sets it true.
    Agree(bool& agreementAccepted, DesktopServices& services, QWidget* parent = nullptr);

    QPlainTextEdit* Text1;
    QPushButton* Command1; // AGREE
    QPushButton* Command2; // DISAGREE

private:
    void Command1_Click();
    bool& agreementAccepted_;
};
