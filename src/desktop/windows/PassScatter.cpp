#include "desktop/windows/PassScatter.h"

#include <QEvent>
#include <QLineSeries>
#include <QLocale>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/insight/PassTable.h"
#include "desktop/windows/PassTableModel.h"

namespace {

constexpr double EmptyRangeHigh = 100; // percent, the axes of a table without a point
constexpr double RangeMargin = 0.05;    // of the span, around the outermost points


QLineSeries* NewLine(const char* name, Qt::PenStyle style, QObject* parent)
{
    auto* line = new QLineSeries(parent);
    line->setObjectName(QLatin1String(name));
    QPen pen = line->pen();
    pen.setStyle(style);
    pen.setWidthF(1.5);
    line->setPen(pen);
    return line;
}

} // namespace

PassScatter::PassScatter(const PassTableModel& rows, const UserSettings& settings, QWidget* parent)
    : QChartView(parent), rows_(rows), settings_(settings)
{
    setObjectName(QStringLiteral("PassScatter"));
    setRenderHint(QPainter::Antialiasing);
    setAccessibleName(QStringLiteral("QVAC against QVAP"));
    Symbols = new QScatterSeries(this);
    Symbols->setObjectName(QStringLiteral("ScatterSymbols"));
    Symbols->setName(QStringLiteral("All"));
    Symbols->setMarkerSize(7);
    Saved = new QScatterSeries(this);
    Saved->setObjectName(QStringLiteral("ScatterSaved"));
    Saved->setName(QStringLiteral("Saved"));
    Saved->setMarkerSize(10);
    CallsAheadLine = NewLine("MinQVAC_QVAP", Qt::DashLine, this);
    PutsAheadLine = NewLine("MinQVAP_QVAC", Qt::DashDotLine, this);

    QChart* chart = this->chart();
    chart->legend()->setAlignment(Qt::AlignBottom);
    axisX_ = new QValueAxis(chart);
    axisX_->setTitleText(QStringLiteral("QVAC %"));
    axisX_->setLabelFormat(QStringLiteral("%.0f"));
    axisY_ = new QValueAxis(chart);
    axisY_->setTitleText(QStringLiteral("QVAP %"));
    axisY_->setLabelFormat(QStringLiteral("%.0f"));
    chart->addAxis(axisX_, Qt::AlignBottom);
    chart->addAxis(axisY_, Qt::AlignLeft);
    for (QXYSeries* series : std::initializer_list<QXYSeries*>{Symbols, Saved, CallsAheadLine, PutsAheadLine}) {
        chart->addSeries(series);
        series->attachAxis(axisX_);
        series->attachAxis(axisY_);
    }
    ApplyPalette();

    connect(&rows_, &QAbstractItemModel::modelReset, this, &PassScatter::Rebuild);
    connect(&rows_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { AddRows(first, last); });
    connect(Symbols, &QScatterSeries::clicked, this,
            [this](const QPointF& point) { PointClicked(*Symbols, symbolRows_, point); });
    connect(Saved, &QScatterSeries::clicked, this,
            [this](const QPointF& point) { PointClicked(*Saved, savedRows_, point); });
    Rebuild();
}

void PassScatter::Rebuild()
{
    Symbols->clear();
    Saved->clear();
    symbolRows_.clear();
    savedRows_.clear();
    AddRows(0, rows_.rowCount() - 1);
}

void PassScatter::AddRows(int first, int last)
{
    const int qvac = rows_.ColumnOf(QVACHeader), qvap = rows_.ColumnOf(QVAPHeader);
    const int outcome = rows_.ColumnOf(OutcomeHeader);
    const QString saved = QString::fromLatin1(OutcomeWord(SymbolOutcome::Saved).data());
    QList<QPointF> symbolPoints, savedPoints;
    for (int row = first; row <= last; ++row) {
        const auto x = FigureOf(rows_.Cell(row, qvac)), y = FigureOf(rows_.Cell(row, qvap));
        if (!x || !y) continue; // a symbol without both averages has no place on the plane
        symbolPoints << QPointF(*x, *y);
        symbolRows_ << row;
        if (rows_.Cell(row, outcome) != saved) continue;
        savedPoints << QPointF(*x, *y);
        savedRows_ << row;
    }
    Symbols->append(symbolPoints);
    Saved->append(savedPoints);
    FitAxesAndLines();
}

void PassScatter::FitAxesAndLines()
{
    const QList<QPointF> points = Symbols->points();
    if (points.isEmpty()) {
        low_ = 0;
        high_ = EmptyRangeHigh;
    } else {
        low_ = high_ = points.front().x();
        for (const QPointF& point : points) {
            low_ = std::min({low_, point.x(), point.y()});
            high_ = std::max({high_, point.x(), point.y()});
        }
        const double margin = std::max(1.0, (high_ - low_) * RangeMargin);
        low_ = std::floor(low_ - margin);
        high_ = std::ceil(high_ + margin);
    }
    // One range on both axes, so that a difference line runs at 45 degrees.
    axisX_->setRange(low_, high_);
    axisX_->applyNiceNumbers();
    axisY_->setRange(axisX_->min(), axisX_->max());
    axisY_->setTickCount(axisX_->tickCount());
    low_ = axisX_->min();
    high_ = axisX_->max();
    const auto draw = [this](QLineSeries* line, const Criterion& criterion, double sign, const QString& difference) {
        const std::optional<double> bound = criterion.InForce();
        line->clear();
        line->setVisible(bound.has_value());
        if (!bound) return;
        line->setName(difference + QLatin1Char('=') + QLocale::c().toString(*bound));
        line->append({QPointF(low_, low_ + sign * *bound), QPointF(high_, high_ + sign * *bound)});
    };
    draw(CallsAheadLine, settings_.MinQVAC_QVAP, -1, QStringLiteral("QVAC-QVAP")); // QVAP = QVAC - bound
    draw(PutsAheadLine, settings_.MinQVAP_QVAC, +1, QStringLiteral("QVAP-QVAC"));  // QVAP = QVAC + bound
}

void PassScatter::PointClicked(const QScatterSeries& series, const QList<int>& rows, const QPointF& point)
{
    // The click reports the point as the series holds it, so an exact match is found.
    const qsizetype index = series.points().indexOf(point);
    if (index >= 0 && index < rows.size()) emit RowClicked(rows[index]);
}

void PassScatter::changeEvent(QEvent* event)
{
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) ApplyPalette();
}

void PassScatter::ApplyPalette()
{
    const QPalette colours = palette();
    QChart* chart = this->chart();
    chart->setBackgroundBrush(colours.base());
    chart->legend()->setLabelColor(colours.color(QPalette::Text));
    for (QValueAxis* axis : {axisX_, axisY_}) {
        axis->setLabelsBrush(colours.text());
        axis->setTitleBrush(colours.text());
        axis->setLinePenColor(colours.color(QPalette::Text));
        axis->setGridLineColor(colours.color(QPalette::Midlight));
    }
    QColor plain = colours.color(QPalette::Text);
    plain.setAlpha(140);
    Symbols->setColor(plain);
    Symbols->setBorderColor(plain);
    Saved->setColor(colours.color(QPalette::Highlight));
    Saved->setBorderColor(colours.color(QPalette::Text));
    for (QLineSeries* line : {CallsAheadLine, PutsAheadLine}) {
        QPen pen = line->pen();
        pen.setColor(colours.color(QPalette::Text));
        line->setPen(pen);
    }
}
