#include "dialogs/Filter.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/SettingsFile.h"
#include "dialogs/SettingsSaving.h"

namespace {

struct CriterionBox {
    const char* name;
    Criterion UserSettings::*member;
};

// The settings file's order: 8 Min/Max pairs of the stock, then the 9 option criteria.
constexpr std::array<CriterionBox, Filter::CriterionCount> CriterionBoxes{{
    {"TX_MinPE", &UserSettings::MinPE},
    {"TX_MaxPE", &UserSettings::MaxPE},
    {"TX_MinMktCap", &UserSettings::MinMktCap},
    {"TX_MaxMktCap", &UserSettings::MaxMktCap},
    {"TX_MinVolume", &UserSettings::MinVolume},
    {"TX_MaxVolume", &UserSettings::MaxVolume},
    {"TX_MinLast", &UserSettings::MinLast},
    {"TX_MaxLast", &UserSettings::MaxLast},
    {"TX_MinBeta", &UserSettings::MinBeta},
    {"TX_MaxBeta", &UserSettings::MaxBeta},
    {"TX_MinPctChange", &UserSettings::MinPctChange},
    {"TX_MaxPctChange", &UserSettings::MaxPctChange},
    {"TX_MinYield", &UserSettings::MinYield},
    {"TX_MaxYield", &UserSettings::MaxYield},
    {"TX_MinRange", &UserSettings::MinRange},
    {"TX_MaxRange", &UserSettings::MaxRange},
    {"TX_MinOptVol", &UserSettings::MinOptVol},
    {"TX_MinOptInt", &UserSettings::MinOptInt},
    {"TX_MinOptPctVol", &UserSettings::MinOptPctVol},
    {"TX_MinTimeVal", &UserSettings::MinTimeVal},
    {"TX_MaxIntVal", &UserSettings::MaxIntVal},
    {"TX_MinQVAC", &UserSettings::MinQVAC},
    {"TX_MinQVAP", &UserSettings::MinQVAP},
    {"TX_MinQVAC_QVAP", &UserSettings::MinQVAC_QVAP},
    {"TX_MinQVAP_QVAC", &UserSettings::MinQVAP_QVAC},
}};
constexpr int UnderlyingRowCount = 8;
constexpr int OptionRowCount = 9;

struct RowLabel {
    const char* text;    // the label, or the part before a fraction
    bool percent;        // a "%" stands between label and boxes
    const char* over;    // fraction: numerator text, or nullptr
    const char* under;   // fraction: denominator text
};

constexpr std::array<RowLabel, UnderlyingRowCount> UnderlyingRows{{
    {"Price/Earning Ratio", false, nullptr, nullptr},
    {"Market Cap (Million)", false, nullptr, nullptr},
    {"Volume (x1000)", false, nullptr, nullptr},
    {"Last Price", false, nullptr, nullptr},
    {"Volatility", true, nullptr, nullptr},
    {"Change", true, nullptr, nullptr},
    {"Dividend Yield", true, nullptr, nullptr},
    {"", true, "Last - 52wkLo", "52wkHi - 52wkLo"},
}};

constexpr std::array<RowLabel, OptionRowCount> OptionRows{{
    {"Min Volume", false, nullptr, nullptr},
    {"Min Open Interest", false, nullptr, nullptr},
    {"Min", true, "Volume", "Open Interest"},
    {"Min Time Value", false, nullptr, nullptr},
    {"Max Intrinsic Value", false, nullptr, nullptr},
    {"Min QVA of Call", true, nullptr, nullptr},
    {"Min QVA of Put", true, nullptr, nullptr},
    {"Min QVAC - QVAP", true, nullptr, nullptr},
    {"Min QVAP - QVAC", true, nullptr, nullptr},
}};
// The bracket joins the last four option rows: the two QVA minimums OR the two differences.
constexpr int BracketFirstRow = OptionRowCount - 4;

// A label written as a fraction: one text over another with a bar between them.
QWidget* NewRowLabel(const RowLabel& row, QWidget* parent)
{
    if (!row.over) return new QLabel(QString::fromLatin1(row.text), parent);
    auto* holder = new QWidget(parent);
    auto* outer = new QHBoxLayout(holder);
    outer->setContentsMargins(0, 0, 0, 0);
    if (*row.text) outer->addWidget(new QLabel(QString::fromLatin1(row.text), holder));
    auto* fraction = new QVBoxLayout;
    fraction->setSpacing(0);
    auto* over = new QLabel(QString::fromLatin1(row.over), holder);
    auto* under = new QLabel(QString::fromLatin1(row.under), holder);
    over->setAlignment(Qt::AlignHCenter);
    under->setAlignment(Qt::AlignHCenter);
    auto* bar = new QFrame(holder);
    bar->setFrameShape(QFrame::HLine);
    fraction->addWidget(over);
    fraction->addWidget(bar);
    fraction->addWidget(under);
    outer->addLayout(fraction);
    outer->addStretch();
    holder->setAccessibleName(QStringLiteral("%1 %2 / %3").arg(QLatin1String(row.text), QLatin1String(row.over),
                                                                QLatin1String(row.under)));
    return holder;
}

// The bracket at the right of the four QVA rows, with "OR" at its middle.
class OrBracket final : public QWidget {
public:
    explicit OrBracket(QWidget* parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("LabelOr"));
        setAccessibleName(QStringLiteral("OR"));
    }
    QSize sizeHint() const override
    {
        return {fontMetrics().horizontalAdvance(QStringLiteral("OR")) + 14, 40};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        const int right = width() - 3;
        const int tick = 5;
        const int top = fontMetrics().height() / 2;
        const int bottom = height() - top;
        painter.drawLine(right - tick, top, right, top);
        painter.drawLine(right, top, right, bottom);
        painter.drawLine(right - tick, bottom, right, bottom);
        painter.drawText(QRect(0, 0, right - 2, height()), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("OR"));
    }
};

QLabel* NewHeading(const QString& text, QWidget* parent)
{
    auto* heading = new QLabel(text, parent);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    return heading;
}

} // namespace

Filter::Filter(SharedState& state, QWidget* parent) : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("Filter"));
    setWindowTitle(QStringLiteral("Setup - Filter"));
    for (std::size_t i = 0; i < CriterionBoxes.size(); ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(CriterionBoxes[i].name));
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
        criterionBoxes_[i] = box;
    }

    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildUnderlyingColumn(), 0, Qt::AlignTop);
    columns->addSpacing(24);
    columns->addWidget(BuildOptionsColumn(), 0, Qt::AlignTop);

    CM_FilterUseDefault = new QPushButton(QStringLiteral("Use &Default"), this);
    CM_FilterUseDefault->setObjectName(QStringLiteral("CM_FilterUseDefault"));
    CM_FilterUseDefault->setAutoDefault(false);
    connect(CM_FilterUseDefault, &QPushButton::clicked, this, &Filter::CM_FilterUseDefault_Click);
    auto* note = new QLabel(QStringLiteral("Note: To ignore any of the factors above, simply\n"
                                           "enter a non-numeric string such as \"NA\""),
                            this);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(CM_FilterUseDefault, 0, Qt::AlignVCenter);
    noteRow->addSpacing(12);
    noteRow->addWidget(note);
    noteRow->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addSpacing(8);
    layout->addLayout(noteRow);
    layout->addWidget(BuildOptionGroups());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Form_Activate();
}

QWidget* Filter::BuildUnderlyingColumn()
{
    auto* column = new QWidget(this);
    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(NewHeading(QStringLiteral("Underlying Data"), column), 0, 0);
    grid->addWidget(NewHeading(QStringLiteral("Min"), column), 0, 2, Qt::AlignHCenter);
    grid->addWidget(NewHeading(QStringLiteral("Max"), column), 0, 3, Qt::AlignHCenter);
    for (int row = 0; row < UnderlyingRowCount; ++row) {
        QLineEdit* minBox = criterionBoxes_[2 * row];
        grid->addWidget(NewRowLabel(UnderlyingRows[row], column), row + 1, 0);
        if (UnderlyingRows[row].percent) grid->addWidget(new QLabel(QStringLiteral("%"), column), row + 1, 1);
        grid->addWidget(minBox, row + 1, 2);
        grid->addWidget(criterionBoxes_[2 * row + 1], row + 1, 3);
    }
    return column;
}

QWidget* Filter::BuildOptionsColumn()
{
    auto* column = new QWidget(this);
    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(NewHeading(QStringLiteral("Options Data"), column), 0, 0);
    for (int row = 0; row < OptionRowCount; ++row) {
        grid->addWidget(NewRowLabel(OptionRows[row], column), row + 1, 0);
        if (OptionRows[row].percent) grid->addWidget(new QLabel(QStringLiteral("%"), column), row + 1, 1);
        grid->addWidget(criterionBoxes_[2 * UnderlyingRowCount + row], row + 1, 2);
    }
    grid->addWidget(new OrBracket(column), BracketFirstRow + 1, 3, 4, 1);
    return column;
}

QWidget* Filter::BuildOptionGroups()
{
    auto* holder = new QWidget(this);
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(0, 0, 0, 0);
    const auto addGroup = [&](const QString& caption, const QString& name, const QStringList& captions) {
        auto* frame = new QGroupBox(caption, holder);
        auto* buttons = new QHBoxLayout(frame);
        auto* group = new QButtonGroup(this);
        group->setObjectName(name);
        for (int i = 0; i < captions.size(); ++i) {
            auto* button = new QRadioButton(captions[i], frame);
            button->setObjectName(name + QStringLiteral("_%1").arg(i));
            group->addButton(button, i);
            buttons->addWidget(button);
        }
        row->addWidget(frame);
        return group;
    };
    OP_DrvQVAfrom = addGroup(QStringLiteral("Derive QVA from"), QStringLiteral("OP_DrvQVAfrom"),
                             {QStringLiteral("&Last"), QStringLiteral("&Bid"), QStringLiteral("As&k"),
                              QStringLiteral("(Bid+Ask)/&2")});
    OP_AvgQVAusing = addGroup(QStringLiteral("Average QVA using"), QStringLiteral("OP_AvgQVAusing"),
                              {QStringLiteral("&Volume"), QStringLiteral("&Open Interest")});
    return holder;
}

void Filter::Form_Activate()
{
    for (std::size_t i = 0; i < CriterionBoxes.size(); ++i)
        criterionBoxes_[i]->setText(QString::fromStdString((state_.Settings.*CriterionBoxes[i].member).DisplayText()));
    // A stored index out of range still selects a button; negative values wrap like positive ones.
    const auto wrap = [](int value, int count) { return ((value % count) + count) % count; };
    OP_DrvQVAfrom->button(wrap(state_.Settings.DrvQVAfrom, 4))->setChecked(true);
    OP_AvgQVAusing->button(wrap(state_.Settings.AvgQVAusing, 2))->setChecked(true);
}

void Filter::CM_FilterUseDefault_Click()
{
    SetFilterDefaults(state_.Settings);
    Form_Activate();
}

void Filter::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void Filter::Form_Unload()
{
    for (std::size_t i = 0; i < CriterionBoxes.size(); ++i)
        state_.Settings.*CriterionBoxes[i].member = ValueCheck(criterionBoxes_[i]->text().toStdString());
    // checkedId is -1 with none selected; the stored index is then one past the last button.
    const auto selected = [](const QButtonGroup* group) {
        const int id = group->checkedId();
        return static_cast<std::int16_t>(id >= 0 ? id : group->buttons().size());
    };
    state_.Settings.DrvQVAfrom = selected(OP_DrvQVAfrom);
    state_.Settings.AvgQVAusing = selected(OP_AvgQVAusing);
    SaveSettings(this, state_);
}
