#pragma once
// The rows of a pass table (Pass.csv) as a Qt table model: read whole from the file, or grown row
// by row while a pass writes it. Every cell is the file's text; sorting and filtering are the
// proxy's (PassTableFilter).

#include <QAbstractTableModel>
#include <QStringList>
#include <optional>
#include <string_view>

#include "core/insight/CsvText.h"

// The number a figure cell holds (written without locale: a dot, maybe an exponent); nothing for
// an empty cell or a word.
std::optional<double> FigureOf(const QString& cell);

class PassTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PassTableModel(QObject* parent = nullptr);

    // Replaces everything with the rows of `path`. An empty text when the file was read (or is not
    // there yet: an empty table), else the message naming the file.
    QString Load(const QString& path);
    // One row more, in the columns of PassColumns(); a fresh table (`startsTable`) drops the rows
    // of the pass before.
    void Append(const CsvRow& cells, bool startsTable);

    // The column whose header is `header`, or -1.
    int ColumnOf(std::string_view header) const;
    QString Cell(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void ResetTo(QStringList headers, QList<QStringList> rows);

    QStringList headers_;
    QList<QStringList> rows_; // each as wide as headers_
};
