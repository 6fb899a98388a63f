#pragma once
// "View - Pass Table": the pass table Pass.csv of the program directory, or of the pass under way
// as its rows come, in a table that sorts by any column and narrows to a text and an outcome, with
// the near-miss columns shown and the others behind the header's context menu, and beside it the
// scatter of QVAC against QVAP. A double-click shows the symbol's results block; File - Export
// saves the rows and columns as shown.

#include <QMainWindow>
#include <QSet>

#include "core/SharedState.h"
#include "core/insight/CsvText.h"

class DesktopServices;
class PassScatter;
class PassTableFilter;
class PassTableModel;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableView;
class SymbolBlockView;

class PassTableWindow : public QMainWindow {
    Q_OBJECT
public:
    PassTableWindow(SharedState& state, DesktopServices& services, QWidget* parent = nullptr);

    QLineEdit* TextFilter;
    QComboBox* OutcomeFilter; // entry 0 is every outcome
    QTableView* Table;
    PassScatter* Scatter;
    QLabel* RowCount;
    QAction* mnuExport;

    // Pass.csv read again; a file that cannot be read is named in a message box.
    void Reload();
    // A row the run has just written to Pass.csv.
    void AppendRow(const CsvRow& cells, bool startsTable);
    // The block window of the last double-click, or nothing before the first.
    SymbolBlockView* BlockView() const { return blockView_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildTable();
    void BuildRowCount();
    void BuildMenus();
    QWidget* BuildFilterRow();
    void ApplyShownColumns();
    void HeaderMenu(const QPoint& position);
    void Table_DoubleClick(const QModelIndex& index);
    void Scatter_RowClicked(int row);
    void mnuExport_Click();
    // The rows and columns as shown, header first; the error text, or empty when written.
    QString Export(const QString& path) const;
    void ShowRowCount();
    void FitToScreen();

    SharedState& state_;
    DesktopServices& services_;
    PassTableModel* rows_;
    PassTableFilter* filter_;
    QSet<QString> shownColumns_;
    SymbolBlockView* blockView_ = nullptr;
};
