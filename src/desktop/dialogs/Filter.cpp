#include "desktop/dialogs/Filter.h"

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
#include <QTimer>
#include <QVBoxLayout>

#include "core/settings/FilterCriteria.h"
#include "core/settings/SettingsFile.h"
#include "desktop/dialogs/PassCounter.h"
#include "desktop/dialogs/SettingsSaving.h"
#include "desktop/services/HelpKey.h"
#include "desktop/services/WindowFrame.h"

namespace {

constexpr int UnderlyingRowCount = 8;
constexpr int OptionRowCount = 9;

struct RowLabel {
    const char* text;    // the label, or the part before a fraction; "&" marks the access key
    bool percent;        // a "%" stands between label and boxes
    const char* over;    // fraction: numerator text, or nullptr
    const char* under;   // fraction: denominator text
};

// Every access key of the dialog is distinct, the option frames' and Use Default's included.
constexpr std::array<RowLabel, UnderlyingRowCount> UnderlyingRows{{
    {"Price/&Earning Ratio", false, nullptr, nullptr},
    {"&Market Cap (Million)", false, nullptr, nullptr},
    {"&Volume (x1000)", false, nullptr, nullptr},
    {"&Last Price", false, nullptr, nullptr},
    {"Vola&tility", true, nullptr, nullptr},
    {"C&hange", true, nullptr, nullptr},
    {"Dividend &Yield", true, nullptr, nullptr},
    {"", true, "Last - &52wkLo", "52wkHi - 52wkLo"},
}};

constexpr std::array<RowLabel, OptionRowCount> OptionRows{{
    {"Min Vol&ume", false, nullptr, nullptr},
    {"Min &Open Interest", false, nullptr, nullptr},
    {"Mi&n", true, "Volume", "Open Interest"},
    {"Min T&ime Value", false, nullptr, nullptr},
    {"Ma&x Intrinsic Value", false, nullptr, nullptr},
    {"Min QVA of &Call", true, nullptr, nullptr},
    {"Min QVA of &Put", true, nullptr, nullptr},
    {"Min &QVAC - QVAP", true, nullptr, nullptr},
    {"Min QVAP - QV&AC", true, nullptr, nullptr},
}};
// The bracket joins the last four option rows: the two QVA minimums OR the two differences.
constexpr int BracketFirstRow = OptionRowCount - 4;

// Columns of the one grid that holds both halves, so that their rows share heights and line up.
enum Column { UnderlyingLabel, UnderlyingPercent, MinBox, MaxBox, Gap, OptionLabel, OptionPercent, OptionBox, Bracket };
constexpr int ColumnGap = 24;
// Short enough that the count follows an edit within half a second, long enough to let a word be typed.
constexpr int RecountDelayMilliseconds = 150;

QString WithoutAccessKey(const char* text)
{
    return QString::fromLatin1(text).remove(QLatin1Char('&'));
}

// The row's label; `buddy` takes the focus on the label's access key. A fraction label is one
// text over another with a bar between them.
QWidget* NewRowLabel(const RowLabel& row, QWidget* buddy, QWidget* parent)
{
    const auto newLabel = [buddy, parent](const char* text) {
        auto* label = new QLabel(QString::fromLatin1(text), parent);
        label->setBuddy(buddy);
        return label;
    };
    if (!row.over) return newLabel(row.text);
    auto* holder = new QWidget(parent);
    auto* outer = new QHBoxLayout(holder);
    outer->setContentsMargins(0, 0, 0, 0);
    if (*row.text) outer->addWidget(newLabel(row.text));
    auto* fraction = new QVBoxLayout;
    fraction->setSpacing(0);
    QLabel* over = newLabel(row.over);
    QLabel* under = newLabel(row.under);
    over->setAlignment(Qt::AlignHCenter);
    under->setAlignment(Qt::AlignHCenter);
    auto* bar = new QFrame(holder);
    bar->setFrameShape(QFrame::HLine);
    fraction->addWidget(over);
    fraction->addWidget(bar);
    fraction->addWidget(under);
    outer->addLayout(fraction);
    outer->addStretch();
    holder->setAccessibleName(QStringLiteral("%1 %2 / %3").arg(WithoutAccessKey(row.text), WithoutAccessKey(row.over),
                                                                WithoutAccessKey(row.under)));
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

// Tab stops once in a group of option buttons, at the selected one; the arrow keys move within.
void KeepOneTabStop(QButtonGroup* group)
{
    QObject::connect(group, &QButtonGroup::buttonToggled, group, [group] {
        for (QAbstractButton* button : group->buttons())
            button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    });
}

QLabel* NewHeading(const QString& text, QWidget* parent)
{
    auto* heading = new QLabel(text, parent);
    QFont font = heading->font();
    font.setBold(true);
    heading->setFont(font);
    return heading;
}

} // namespace

Filter::Filter(SharedState& state, DesktopServices& services, QWidget* parent) : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("Filter"));
    setWindowTitle(QStringLiteral("Setup - Filter"));
    // Created in the settings file's order, which is also the tab order: the stock's rows, Min
    // before Max, then the option rows.
    for (std::size_t i = 0; i < FilterCriteria.size(); ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("TX_") + QString::fromUtf8(FilterCriteria[i].Name.data(), static_cast<int>(FilterCriteria[i].Name.size())));
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")) + 12);
        criterionBoxes_[i] = box;
    }

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
    layout->addLayout(BuildCriterionRows());
    LabelPassCount = new QLabel(this);
    LabelPassCount->setObjectName(QStringLiteral("LabelPassCount"));
    layout->addWidget(LabelPassCount);
    layout->addSpacing(8);
    layout->addLayout(noteRow);
    layout->addWidget(BuildOptionGroups());
    layout->addWidget(NewSavedOnCloseNote(this));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    KeepNaturalSize(*this);
    AddHelpKey(*this, services);
    StartPassCount();

    Form_Activate();
}

void Filter::StartPassCount()
{
    counter_ = new PassCounter(state_.Settings.FnSym.empty() ? state_.Paths.DefaultFnSym : state_.Settings.FnSym,
                               state_.Paths.FnQuote, state_.clock.Now(), this);
    connect(counter_, &PassCounter::Counted, LabelPassCount, &QLabel::setText);
    // A burst of keystrokes asks for one count, soon after the last of them.
    recount_ = new QTimer(this);
    recount_->setSingleShot(true);
    recount_->setInterval(RecountDelayMilliseconds);
    connect(recount_, &QTimer::timeout, this, [this] { counter_->Request(EditedSettings()); });
    for (QLineEdit* box : criterionBoxes_) connect(box, &QLineEdit::textChanged, recount_, qOverload<>(&QTimer::start));
}

QGridLayout* Filter::BuildCriterionRows()
{
    auto* grid = new QGridLayout;
    grid->setColumnMinimumWidth(Gap, ColumnGap);
    AddUnderlyingRows(grid);
    AddOptionRows(grid);
    return grid;
}

void Filter::AddUnderlyingRows(QGridLayout* grid)
{
    grid->addWidget(NewHeading(QStringLiteral("Underlying Data"), this), 0, UnderlyingLabel);
    grid->addWidget(NewHeading(QStringLiteral("Min"), this), 0, MinBox, Qt::AlignHCenter);
    grid->addWidget(NewHeading(QStringLiteral("Max"), this), 0, MaxBox, Qt::AlignHCenter);
    for (int row = 0; row < UnderlyingRowCount; ++row) {
        QLineEdit* minBox = criterionBoxes_[2 * row];
        grid->addWidget(NewRowLabel(UnderlyingRows[row], minBox, this), row + 1, UnderlyingLabel);
        if (UnderlyingRows[row].percent) grid->addWidget(new QLabel(QStringLiteral("%"), this), row + 1, UnderlyingPercent);
        grid->addWidget(minBox, row + 1, MinBox);
        grid->addWidget(criterionBoxes_[2 * row + 1], row + 1, MaxBox);
    }
}

void Filter::AddOptionRows(QGridLayout* grid)
{
    grid->addWidget(NewHeading(QStringLiteral("Options Data"), this), 0, OptionLabel);
    for (int row = 0; row < OptionRowCount; ++row) {
        QLineEdit* box = criterionBoxes_[2 * UnderlyingRowCount + row];
        grid->addWidget(NewRowLabel(OptionRows[row], box, this), row + 1, OptionLabel);
        if (OptionRows[row].percent) grid->addWidget(new QLabel(QStringLiteral("%"), this), row + 1, OptionPercent);
        grid->addWidget(box, row + 1, OptionBox);
    }
    grid->addWidget(new OrBracket(this), BracketFirstRow + 1, Bracket, 4, 1);
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
        KeepOneTabStop(group);
        connect(group, &QButtonGroup::idToggled, this, [this] { recount_->start(); });
        return group;
    };
    // The frames carry the access keys: each takes the focus to its selected button, and the
    // arrow keys move from there.
    OP_DrvQVAfrom = addGroup(QStringLiteral("De&rive QVA from"), QStringLiteral("OP_DrvQVAfrom"),
                             {QStringLiteral("Last"), QStringLiteral("Bid"), QStringLiteral("Ask"),
                              QStringLiteral("(Bid+Ask)/2")});
    OP_AvgQVAusing = addGroup(QStringLiteral("Avera&ge QVA using"), QStringLiteral("OP_AvgQVAusing"),
                              {QStringLiteral("Volume"), QStringLiteral("Open Interest")});
    return holder;
}

void Filter::Form_Activate()
{
    for (std::size_t i = 0; i < FilterCriteria.size(); ++i)
        criterionBoxes_[i]->setText(QString::fromStdString((state_.Settings.*FilterCriteria[i].Member).DisplayText()));
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

UserSettings Filter::EditedSettings() const
{
    UserSettings settings = state_.Settings;
    for (std::size_t i = 0; i < FilterCriteria.size(); ++i)
        settings.*FilterCriteria[i].Member = ValueCheck(criterionBoxes_[i]->text().toStdString());
    // checkedId is -1 with none selected; the stored index is then one past the last button.
    const auto selected = [](const QButtonGroup* group) {
        const int id = group->checkedId();
        return static_cast<std::int16_t>(id >= 0 ? id : group->buttons().size());
    };
    settings.DrvQVAfrom = selected(OP_DrvQVAfrom);
    settings.AvgQVAusing = selected(OP_AvgQVAusing);
    return settings;
}

void Filter::Form_Unload()
{
    state_.Settings = EditedSettings();
    SaveSettings(this, state_);
}
