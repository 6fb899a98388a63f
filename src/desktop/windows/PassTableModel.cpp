#include "desktop/windows/PassTableModel.h"

#include <QFile>
#include <QLocale>

#include "core/insight/PassTable.h"

namespace {

QStringList ToQ(const CsvRow& cells, qsizetype width)
{
    QStringList row;
    row.reserve(width);
    for (const std::string& cell : cells) {
        if (row.size() == width) break; // a cell beyond the headers belongs to no column
        row << QString::fromStdString(cell);
    }
    while (row.size() < width) row << QString();
    return row;
}

QStringList CurrentHeaders()
{
    QStringList headers;
    for (const PassColumn& column : PassColumns()) headers << QString::fromStdString(column.Header);
    return headers;
}

} // namespace

std::optional<double> FigureOf(const QString& cell)
{
    bool ok = false;
    const double value = QLocale::c().toDouble(cell, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

PassTableModel::PassTableModel(QObject* parent) : QAbstractTableModel(parent), headers_(CurrentHeaders()) {}

QString PassTableModel::Load(const QString& path)
{
    QFile file(path);
    if (!file.exists()) {
        ResetTo(CurrentHeaders(), {});
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        ResetTo(CurrentHeaders(), {});
        return QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
    }
    const QByteArray text = file.readAll();
    const std::vector<CsvRow> lines = ReadCsv(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (lines.empty()) {
        ResetTo(CurrentHeaders(), {});
        return {};
    }
    // The file's own header names its columns: a table written by another version still reads.
    QStringList headers = ToQ(lines.front(), static_cast<qsizetype>(lines.front().size()));
    QList<QStringList> rows;
    rows.reserve(static_cast<qsizetype>(lines.size()) - 1);
    for (auto line = lines.begin() + 1; line != lines.end(); ++line) rows << ToQ(*line, headers.size());
    ResetTo(std::move(headers), std::move(rows));
    return {};
}

void PassTableModel::Append(const CsvRow& cells, bool startsTable)
{
    if (startsTable) ResetTo(CurrentHeaders(), {});
    const int row = rowCount();
    beginInsertRows({}, row, row);
    rows_ << ToQ(cells, headers_.size());
    endInsertRows();
}

void PassTableModel::ResetTo(QStringList headers, QList<QStringList> rows)
{
    beginResetModel();
    headers_ = std::move(headers);
    rows_ = std::move(rows);
    endResetModel();
}

int PassTableModel::ColumnOf(std::string_view header) const
{
    return static_cast<int>(headers_.indexOf(QLatin1String(header.data(), static_cast<qsizetype>(header.size()))));
}

QString PassTableModel::Cell(int row, int column) const
{
    if (row < 0 || row >= rows_.size() || column < 0 || column >= headers_.size()) return {};
    return rows_[row][column];
}

int PassTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int PassTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant PassTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return Cell(index.row(), index.column());
}

QVariant PassTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    return section >= 0 && section < headers_.size() ? QVariant(headers_[section]) : QVariant();
}
