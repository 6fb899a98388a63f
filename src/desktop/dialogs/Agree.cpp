#include "desktop/dialogs/Agree.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include "desktop/services/HelpKey.h"

namespace {

QString AgreementText()
{
    QFile file(QStringLiteral(":/quillon/agreement.txt"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

Agree::Agree(bool& agreementAccepted, DesktopServices& services, QWidget* parent)
    : QDialog(parent), agreementAccepted_(agreementAccepted)
{
    setObjectName(QStringLiteral("Agree"));
    const bool review = agreementAccepted;
    setWindowTitle(review ? QStringLiteral("End User Agreement of Quillon - Review")
                          : QStringLiteral("End User Agreement of Quillon"));

    Text1 = new QPlainTextEdit(AgreementText(), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Text1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #d4d4d4; color: black; }"));
    // Room for the text's longest lines (76 characters) beside the scroll bar.
    const QFontMetrics fixed(Text1->font());
    const int chrome = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * Text1->frameWidth()
                       + 2 * int(Text1->document()->documentMargin()) + 8;
    Text1->setMinimumSize(fixed.horizontalAdvance(QString(76, QLatin1Char('M'))) + chrome, fixed.lineSpacing() * 24);

    Command1 = new QPushButton(QStringLiteral("&AGREE"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&DISAGREE"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, &Agree::Command1_Click);
    // DISAGREE and the close box both leave the flag as it is.
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    AddHelpKey(*this, services);

    // A careless Enter must not accept: DISAGREE holds the focus and is the default button.
    Command1->setAutoDefault(false);
    Command2->setDefault(true);
    Command2->setFocus();
    if (review) {
        Command1->setEnabled(false);
        Command2->setEnabled(false);
        Text1->setFocus();
    }
}

void Agree::Command1_Click()
{
    agreementAccepted_ = true;
    accept();
}
