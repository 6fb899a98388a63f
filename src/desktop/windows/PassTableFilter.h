#pragma once
// The pass table as the window shows it: rows narrowed to a text in the symbol or company and to
// one outcome, and sorted with figures compared as numbers and empty cells last in either order.

#include <QSortFilterProxyModel>

class PassTableModel;

class PassTableFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit PassTableFilter(PassTableModel& rows, QObject* parent = nullptr);

    // Rows whose symbol or company holds `text`, ignoring case; empty: every row.
    void SetText(const QString& text);
    // Rows of one outcome word ("saved", "screened out", ...); empty: every outcome.
    void SetOutcome(const QString& outcome);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    PassTableModel& rows_;
    QString text_;
    QString outcome_;
};
