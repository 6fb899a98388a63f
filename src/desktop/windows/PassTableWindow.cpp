#include "desktop/windows/PassTableWindow.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

#include "core/insight/PassTable.h"
#include "core/insight/SymbolBlock.h"
#include "desktop/services/DesktopServices.h"
#include "desktop/services/HelpKey.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/windows/PassScatter.h"
#include "desktop/windows/PassTableFilter.h"
#include "desktop/windows/PassTableModel.h"
#include "desktop/windows/SymbolBlockView.h"
#include "qt/QtText.h"

namespace {

// How close each symbol came: the columns a window opens with.
const QStringList NearMissColumns{QStringLiteral("symbol"), QStringLiteral("outcome"), QStringLiteral("failed"),
                                  QStringLiteral("value"),  QStringLiteral("bound"),   QStringLiteral("distance"),
                                  QStringLiteral("qvac"),   QStringLiteral("qvap"),    QStringLiteral("qvac_qvap")};

constexpr SymbolOutcome Outcomes[] = {SymbolOutcome::Saved, SymbolOutcome::ScreenedOut, SymbolOutcome::NoQuotes,
                                      SymbolOutcome::Error};

// The size a first window opens at, in average characters and lines, when the screen has room.
constexpr int PreferredColumns = 150;
constexpr int PreferredLines = 36;
constexpr int SplitShare = 1000;
// Rows looked at to size a column to its contents: a long pass would take too long otherwise.
constexpr int ColumnSizingRows = 200;

} // namespace

PassTableWindow::PassTableWindow(SharedState& state, DesktopServices& services, QWidget* parent)
    : QMainWindow(parent), state_(state), services_(services), shownColumns_(NearMissColumns.begin(), NearMissColumns.end())
{
    setObjectName(QStringLiteral("PassTableWindow"));
    setWindowTitle(QStringLiteral("Pass Table"));
    // Open beside the main or run window, it does not keep the program going once they are closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    rows_ = new PassTableModel(this);
    filter_ = new PassTableFilter(*rows_, this);

    BuildTable();
    Scatter = new PassScatter(*rows_, state_.Settings, this);
    connect(Scatter, &PassScatter::RowClicked, this, &PassTableWindow::Scatter_RowClicked);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(Table);
    split->addWidget(Scatter);
    // Half each: the near-miss columns scroll, the scatter and its legend would not.
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({SplitShare, SplitShare}); // taken in proportion to the width there is
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(BuildFilterRow());
    layout->addWidget(split, 1);
    setCentralWidget(central);

    BuildRowCount();
    BuildMenus();
    AddHelpKey(*this, services_);
    Reload();
    FitToScreen();
}

void PassTableWindow::BuildTable()
{
    Table = new QTableView(this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setModel(filter_);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setAlternatingRowColors(true);
    Table->verticalHeader()->setDefaultSectionSize(Table->fontMetrics().height() + 6);
    Table->horizontalHeader()->setResizeContentsPrecision(ColumnSizingRows);
    // Unsorted until a header is clicked: the rows stand in the order of the pass.
    Table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    Table->setSortingEnabled(true);
    Table->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Table->horizontalHeader(), &QHeaderView::customContextMenuRequested, this, &PassTableWindow::HeaderMenu);
    connect(Table, &QTableView::doubleClicked, this, &PassTableWindow::Table_DoubleClick);
    connect(rows_, &QAbstractItemModel::modelReset, this, &PassTableWindow::ApplyShownColumns);
}

void PassTableWindow::BuildRowCount()
{
    RowCount = new QLabel(this);
    RowCount->setObjectName(QStringLiteral("RowCount"));
    statusBar()->addWidget(RowCount);
    connect(filter_, &QAbstractItemModel::modelReset, this, &PassTableWindow::ShowRowCount);
    connect(filter_, &QAbstractItemModel::layoutChanged, this, &PassTableWindow::ShowRowCount);
    connect(filter_, &QAbstractItemModel::rowsInserted, this, &PassTableWindow::ShowRowCount);
    connect(filter_, &QAbstractItemModel::rowsRemoved, this, &PassTableWindow::ShowRowCount);
}

QWidget* PassTableWindow::BuildFilterRow()
{
    auto* row = new QWidget(this);
    TextFilter = new QLineEdit(row);
    TextFilter->setObjectName(QStringLiteral("TextFilter"));
    TextFilter->setClearButtonEnabled(true);
    connect(TextFilter, &QLineEdit::textChanged, filter_, &PassTableFilter::SetText);
    OutcomeFilter = new QComboBox(row);
    OutcomeFilter->setObjectName(QStringLiteral("OutcomeFilter"));
    OutcomeFilter->addItem(QStringLiteral("all"), QString());
    for (const SymbolOutcome outcome : Outcomes) OutcomeFilter->addItem(ToQ(OutcomeWord(outcome)), ToQ(OutcomeWord(outcome)));
    connect(OutcomeFilter, &QComboBox::currentIndexChanged, this,
            [this] { filter_->SetOutcome(OutcomeFilter->currentData().toString()); });

    auto* textLabel = new QLabel(QStringLiteral("&Symbol or company:"), row);
    textLabel->setBuddy(TextFilter);
    auto* outcomeLabel = new QLabel(QStringLiteral("&Outcome:"), row);
    outcomeLabel->setBuddy(OutcomeFilter);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textLabel);
    layout->addWidget(TextFilter, 1);
    layout->addSpacing(16);
    layout->addWidget(outcomeLabel);
    layout->addWidget(OutcomeFilter);
    return row;
}

void PassTableWindow::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuExport = file->addAction(QStringLiteral("&Export..."), this, &PassTableWindow::mnuExport_Click);
    mnuExport->setObjectName(QStringLiteral("mnuExport"));
    mnuExport->setShortcut(Qt::CTRL | Qt::Key_E);
    file->addSeparator();
    QAction* close = file->addAction(QStringLiteral("&Close"), this, &QWidget::close);
    close->setShortcut(Qt::CTRL | Qt::Key_W);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    view->addAction(QStringLiteral("&Reload Pass.csv"), this, &PassTableWindow::Reload)->setShortcut(QKeySequence::Refresh);

    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    connect(escape, &QAction::triggered, this, &QWidget::close);
    addAction(escape);
}

void PassTableWindow::Reload()
{
    // The rows a pass under way holds back go to the file first, or the table would lack them. A
    // failure there stops the run after its symbol, with its message.
    (void)state_.Outputs.Commit(state_.Paths);
    // The scatter follows the reset, with the criteria as they are now.
    const QString problem = rows_->Load(ToQ(state_.Paths.FnPassTable));
    if (!problem.isEmpty()) MessageBoxes::ShowMessage(this, problem);
}

void PassTableWindow::AppendRow(const CsvRow& cells, bool startsTable)
{
    rows_->Append(cells, startsTable);
}

void PassTableWindow::ApplyShownColumns()
{
    for (int column = 0; column < rows_->columnCount(); ++column)
        Table->setColumnHidden(column, !shownColumns_.contains(rows_->headerData(column, Qt::Horizontal).toString()));
    Table->resizeColumnsToContents();
}

void PassTableWindow::HeaderMenu(const QPoint& position)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("ColumnChooser"));
    for (int column = 0; column < rows_->columnCount(); ++column) {
        const QString header = rows_->headerData(column, Qt::Horizontal).toString();
        QAction* item = menu.addAction(header);
        item->setCheckable(true);
        item->setChecked(!Table->isColumnHidden(column));
        // A row without its symbol says nothing.
        item->setEnabled(header != ToQ(SymbolHeader));
        connect(item, &QAction::toggled, this, [this, column, header](bool shown) {
            if (shown)
                shownColumns_.insert(header);
            else
                shownColumns_.remove(header);
            Table->setColumnHidden(column, !shown);
        });
    }
    menu.exec(Table->horizontalHeader()->mapToGlobal(position));
}

void PassTableWindow::Table_DoubleClick(const QModelIndex& index)
{
    const int row = filter_->mapToSource(index).row();
    const QString symbol = rows_->Cell(row, rows_->ColumnOf(SymbolHeader));
    if (!blockView_) blockView_ = new SymbolBlockView(this);
    blockView_->Show(symbol, ReplayedResultsBlock(symbol.toStdString(), state_.Paths.FnQuote, state_.Settings,
                                                  state_.clock));
}

void PassTableWindow::Scatter_RowClicked(int row)
{
    QModelIndex shown = filter_->mapFromSource(rows_->index(row, 0));
    if (!shown.isValid()) {
        // Narrowed away: every row comes back so that the clicked one can be shown.
        TextFilter->clear();
        OutcomeFilter->setCurrentIndex(0);
        shown = filter_->mapFromSource(rows_->index(row, 0));
    }
    Table->selectRow(shown.row());
    Table->scrollTo(shown);
}

void PassTableWindow::mnuExport_Click()
{
    const QString suggested = ToQ(state_.Paths.ProgramDirectory) + QStringLiteral("/PassView.csv");
    const std::optional<QString> path = services_.ChooseExportFile(this, suggested);
    if (!path) return;
    const QString problem = Export(*path);
    if (!problem.isEmpty()) {
        MessageBoxes::ShowMessage(this, problem);
        return;
    }
    statusBar()->showMessage(QStringLiteral("%1 rows exported to %2").arg(filter_->rowCount()).arg(*path));
}

QString PassTableWindow::Export(const QString& path) const
{
    QList<int> columns;
    const QHeaderView& header = *Table->horizontalHeader();
    for (int visual = 0; visual < header.count(); ++visual)
        if (!header.isSectionHidden(header.logicalIndex(visual))) columns << header.logicalIndex(visual);
    CsvRow cells;
    const auto line = [&](const std::function<QString(int)>& cell) {
        cells.clear();
        for (const int column : columns) cells.push_back(cell(column).toStdString());
        return CsvLine(cells);
    };
    std::string text = line([this](int column) { return rows_->headerData(column, Qt::Horizontal).toString(); });
    for (int row = 0; row < filter_->rowCount(); ++row)
        text += line([this, row](int column) { return filter_->index(row, column).data().toString(); });

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit())
        return QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
    return {};
}

void PassTableWindow::ShowRowCount()
{
    RowCount->setText(QStringLiteral("%1 of %2 symbols shown").arg(filter_->rowCount()).arg(rows_->rowCount()));
}

void PassTableWindow::showEvent(QShowEvent* event)
{
    FitToScreen();
    QMainWindow::showEvent(event);
}

void PassTableWindow::FitToScreen()
{
    // The size the user left it at, or the preferred one at first, but never more than the screen has.
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QSize preferred(fontMetrics().averageCharWidth() * PreferredColumns, fontMetrics().lineSpacing() * PreferredLines);
    const QSize wanted = testAttribute(Qt::WA_Resized) ? size() : preferred;
    resize(wanted.boundedTo(screen->availableGeometry().size() * 9 / 10));
}
