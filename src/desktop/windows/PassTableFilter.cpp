#include "desktop/windows/PassTableFilter.h"

#include "core/insight/PassTable.h"
#include "desktop/windows/PassTableModel.h"

PassTableFilter::PassTableFilter(PassTableModel& rows, QObject* parent) : QSortFilterProxyModel(parent), rows_(rows)
{
    setSourceModel(&rows);
}

void PassTableFilter::SetText(const QString& text)
{
    text_ = text.trimmed();
    invalidateRowsFilter();
}

void PassTableFilter::SetOutcome(const QString& outcome)
{
    outcome_ = outcome;
    invalidateRowsFilter();
}

bool PassTableFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (!outcome_.isEmpty() && rows_.Cell(sourceRow, rows_.ColumnOf(OutcomeHeader)) != outcome_) return false;
    if (text_.isEmpty()) return true;
    for (const std::string_view header : {SymbolHeader, CompanyHeader})
        if (rows_.Cell(sourceRow, rows_.ColumnOf(header)).contains(text_, Qt::CaseInsensitive)) return true;
    return false;
}

bool PassTableFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QString a = left.data().toString(), b = right.data().toString();
    // The view reverses the order for a descending sort; an empty cell is made to sort after every
    // other cell either way, so the figures, not the gaps, come first.
    if (a.isEmpty() != b.isEmpty()) return a.isEmpty() == (sortOrder() == Qt::DescendingOrder);
    const auto x = FigureOf(a), y = FigureOf(b);
    if (x && y) return *x < *y;
    return QString::localeAwareCompare(a, b) < 0;
}
