#include "desktop/dialogs/QuoteServer.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "core/numbers/NumberText.h"
#include "core/settings/SettingsFile.h"
#include "desktop/dialogs/SettingsSaving.h"
#include "desktop/services/HelpKey.h"
#include "desktop/services/WindowFrame.h"
#include "desktop/services/MessageBoxes.h"

namespace {

QLineEdit* NewBox(const char* name, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QString Text(const std::string& value) { return QString::fromStdString(value); }

// The login boxes show every character as "*", whatever bullet the desktop style would draw.
class AsteriskMaskStyle final : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void MaskWithAsterisks(QLineEdit* box, QObject* styleOwner)
{
    auto* style = new AsteriskMaskStyle;
    style->setParent(styleOwner);
    box->setStyle(style);
    box->setEchoMode(QLineEdit::Password);
}

// The boxes of both frames start at one left edge: the label columns get the widest label's width.
void AlignLabelColumns(std::initializer_list<QFormLayout*> forms)
{
    QList<QWidget*> labels;
    for (QFormLayout* form : forms) {
        for (int row = 0; row < form->rowCount(); ++row) {
            if (QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole); item && item->widget())
                labels << item->widget();
        }
    }
    int widest = 0;
    for (const QWidget* label : labels) widest = std::max(widest, label->sizeHint().width());
    for (QWidget* label : labels) label->setMinimumWidth(widest);
}

} // namespace

QuoteServer::QuoteServer(SharedState& state, DesktopServices& services, QWidget* parent)
    : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("QuoteServer"));
    setWindowTitle(QStringLiteral("Setup - Quote Server"));

    TX_UserName = NewBox("TX_UserName", this);
    TX_Password = NewBox("TX_Password", this);
    MaskWithAsterisks(TX_UserName, this);
    MaskWithAsterisks(TX_Password, this);
    TX_DNSN = NewBox("TX_DNSN", this);
    TX_PN = NewBox("TX_PN", this);
    TX_GQS = NewBox("TX_GQS", this);
    TX_GOQS = NewBox("TX_GOQS", this);
    TX_Switch = NewBox("TX_Switch", this);
    const int pathWidth = TX_GQS->fontMetrics().horizontalAdvance(QStringLiteral("/cgi-bin/getquote.dll?TICKER=MMMMMM"));
    TX_GQS->setMinimumWidth(pathWidth);
    TX_PN->setMaximumWidth(TX_PN->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 16);

    CM_QuoteServerUseDefault = new QPushButton(QStringLiteral("Use &Default"), this);
    CM_QuoteServerUseDefault->setObjectName(QStringLiteral("CM_QuoteServerUseDefault"));
    CM_QuoteServerUseDefault->setAutoDefault(false);
    connect(CM_QuoteServerUseDefault, &QPushButton::clicked, this,
            &QuoteServer::CM_QuoteServerUseDefault_Click);

    auto* login = new QGroupBox(QStringLiteral("User Name and Password"), this);
    auto* loginRows = new QFormLayout(login);
    loginRows->addRow(QStringLiteral("&User Name"), TX_UserName);
    loginRows->addRow(QStringLiteral("&Password"), TX_Password);

    auto* server = new QGroupBox(QStringLiteral("Quote Server"), this);
    auto* serverRows = new QFormLayout(server);
    serverRows->addRow(QStringLiteral("D&NS Name:"), TX_DNSN);
    serverRows->addRow(QStringLiteral("P&ort Number"), TX_PN);
    serverRows->addRow(QStringLiteral("Get &Quote String :"), TX_GQS);
    serverRows->addRow(QStringLiteral("Get Op&tions Quote String :"), TX_GOQS);
    auto* switchRow = new QHBoxLayout;
    auto* switchLabel = new QLabel(QStringLiteral("&Switch"), server);
    switchLabel->setBuddy(TX_Switch);
    switchRow->addWidget(CM_QuoteServerUseDefault);
    switchRow->addStretch();
    switchRow->addWidget(switchLabel);
    switchRow->addWidget(TX_Switch);
    serverRows->addRow(switchRow);
    AlignLabelColumns({loginRows, serverRows});
    // The Use Default button stands left of the Switch box: it comes first.
    setTabOrder(TX_GOQS, CM_QuoteServerUseDefault);
    setTabOrder(CM_QuoteServerUseDefault, TX_Switch);
    AddHelpKey(*this, services);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(login);
    layout->addWidget(server);
    layout->addWidget(NewSavedOnCloseNote(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    KeepNaturalSize(*this);

    Form_Activate();
}

void QuoteServer::Form_Activate()
{
    const UserSettings& s = state_.Settings;
    TX_UserName->setText(Text(s.UserName));
    TX_Password->setText(Text(s.Password));
    TX_DNSN->setText(Text(s.DnsName));
    TX_PN->setText(QString::number(s.PortNumber));
    TX_GQS->setText(Text(s.GetQuoteString));
    TX_GOQS->setText(Text(s.GetOptionsQuoteString));
    TX_Switch->setText(Text(s.SwitchText));
}

void QuoteServer::CM_QuoteServerUseDefault_Click()
{
    // The login being typed survives; only the server fields return to their defaults.
    state_.Settings.UserName = TX_UserName->text().toStdString();
    state_.Settings.Password = TX_Password->text().toStdString();
    SetQuoteServerDefaults(state_.Settings);
    Form_Activate();
}

void QuoteServer::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void QuoteServer::Form_Unload()
{
    UserSettings& s = state_.Settings;
    s.UserName = TX_UserName->text().toStdString();
    s.Password = TX_Password->text().toStdString();
    s.Credentials = CredentialsOf(s.UserName, s.Password);
    s.DnsName = TX_DNSN->text().toStdString();
    // Keep the port that worked and say so, as the settings reader keeps it.
    const auto port = ParseInteger(TX_PN->text().toStdString());
    const bool portUsable = port && IsUsablePort(*port);
    const std::int32_t previousPort = s.PortNumber;
    if (portUsable) s.PortNumber = *port;
    s.GetQuoteString = TX_GQS->text().toStdString();
    s.GetOptionsQuoteString = TX_GOQS->text().toStdString();
    s.SwitchText = TX_Switch->text().toStdString();
    SaveSettings(this, state_);
    if (!portUsable) {
        MessageBoxes::ShowMessage(this, QStringLiteral("The port number \"%1\" is not a whole number from 1 "
                                                       "to 65535; the port number stays %2.")
                                            .arg(TX_PN->text())
                                            .arg(previousPort));
    }
}
