#include "dialogs/Interest.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include "app/NumberText.h"
#include "dialogs/SettingsSaving.h"
#include "platform/widgets/HelpKey.h"

namespace {

constexpr float DefaultInterestRate = 0.05f;

} // namespace

Interest::Interest(SharedState& state, DesktopServices& services, QWidget* parent)
    : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("Interest"));
    setWindowTitle(QStringLiteral("Setup - Risk Free Interest Rate"));

    TX_Interest = new QLineEdit(this);
    TX_Interest->setObjectName(QStringLiteral("TX_Interest"));
    TX_Interest->setAlignment(Qt::AlignRight);
    TX_Interest->setMinimumWidth(TX_Interest->fontMetrics().horizontalAdvance(QStringLiteral("00000.0000")));
    // Percent shown: the fraction times 100 in double precision, then as the single it is stored as.
    const double percent = static_cast<double>(state.Settings.InterestRate) * 100.0;
    TX_Interest->setText(QString::fromStdString(FormatSingle(static_cast<float>(percent))));
    TX_Interest->selectAll();

    auto* label = new QLabel(QStringLiteral("Risk-Free &Interest Rate = "), this);
    label->setBuddy(TX_Interest);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(TX_Interest);
    layout->addWidget(new QLabel(QStringLiteral("%"), this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    AddHelpKey(*this, services);
}

void Interest::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void Interest::Form_Unload()
{
    const auto percent = ParseDecimal(TX_Interest->text().toStdString());
    state_.Settings.InterestRate = percent ? static_cast<float>(*percent / 100.0) : DefaultInterestRate;
    SaveSettings(this, state_);
}
