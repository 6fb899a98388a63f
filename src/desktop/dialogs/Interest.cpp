#include "desktop/dialogs/Interest.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "core/numbers/NumberText.h"
#include "core/run/RunController.h"
#include "desktop/dialogs/SettingsSaving.h"
#include "desktop/services/HelpKey.h"
#include "desktop/services/WindowFrame.h"

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
    auto* rateRow = new QHBoxLayout;
    rateRow->addWidget(label);
    rateRow->addWidget(TX_Interest);
    rateRow->addWidget(new QLabel(QStringLiteral("%"), this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rateRow);
    layout->addWidget(NewSavedOnCloseNote(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    KeepNaturalSize(*this);
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
    const double rate = percent ? *percent / 100.0 : DefaultInterestRate;
    // A rate beyond a single's range would be stored as infinity: it is no usable number either.
    const bool fits = std::fabs(rate) <= std::numeric_limits<float>::max();
    state_.Settings.InterestRate = fits ? static_cast<float>(rate) : DefaultInterestRate;
    SaveSettings(this, state_);
}
