#include "charts/SymbolCharts.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "core/numbers/NumberText.h"

namespace {

// Calls and puts in two hues that stay apart on light and dark backgrounds alike.
const QColor SideColours[] = {QColor(0x1f, 0x77, 0xd4), QColor(0xe0, 0x6c, 0x10)};
// A day's point on the time axis: noon UTC, clear of any zone's date line.
qint64 TimeOf(const std::string& date)
{
    const QDate day = QDate::fromString(QString::fromStdString(date), Qt::ISODate);
    return QDateTime(day, QTime(12, 0), Qt::UTC).toMSecsSinceEpoch();
}

QString Figure(const std::optional<double>& value)
{
    return value ? QString::fromStdString(FormatFixed(*value, 1)) : QStringLiteral("n/a");
}

std::unique_ptr<QChart> NewChart(const QString& title, const QPalette& palette)
{
    auto chart = std::make_unique<QChart>();
    chart->setTitle(title);
    chart->setBackgroundBrush(palette.base());
    chart->setPlotAreaBackgroundVisible(false);
    chart->setTitleBrush(palette.text());
    // A pane beside the report block has little height to spare: no frame around the chart.
    chart->setBackgroundRoundness(0);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setLabelColor(palette.text().color());
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries); // dashes show in the legend too
    return chart;
}

void StyleAxis(QAbstractAxis& axis, const QString& title, const QPalette& palette)
{
    axis.setTitleText(title);
    axis.setTitleBrush(palette.text());
    axis.setLabelsBrush(palette.text());
    axis.setLinePenColor(palette.text().color());
    axis.setGridLineColor(palette.mid().color());
}

// Adds `series` to the chart on both of its axes.
void Attach(QChart& chart, QXYSeries* series, QAbstractAxis& x, QAbstractAxis& y)
{
    chart.addSeries(series);
    series->attachAxis(&x);
    series->attachAxis(&y);
}

QLineSeries* NewLine(const QString& name, const QColor& colour, Qt::PenStyle style, qreal width = 2)
{
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(colour, width, style);
    pen.setCosmetic(true);
    series->setPen(pen);
    return series;
}

// A range around [low, high] with some air, never empty.
std::pair<double, double> Padded(double low, double high)
{
    const double margin = high > low ? (high - low) * 0.1 : std::max(1.0, std::abs(high) * 0.1);
    return {low - margin, high + margin};
}

} // namespace

QString SmileSeriesName(const SmileLine& line)
{
    return QStringLiteral("%1, %2 days").arg(line.Side == Calls ? "Calls" : "Puts").arg(line.DaysToGo);
}

std::unique_ptr<QChart> SmileChart(const SymbolChart& data, const QPalette& palette)
{
    auto chart = NewChart(QStringLiteral("%1 volatility smile by strike ($) on %2, last sale %3")
                              .arg(QString::fromStdString(data.Symbol), QString::fromStdString(data.Date),
                                   QString::fromStdString(FormatFixed(data.LastSale, 2))),
                          palette);
    auto* x = new QValueAxis;
    auto* y = new QValueAxis;
    StyleAxis(*x, QString(), palette);
    StyleAxis(*y, QStringLiteral("IV (%)"), palette);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    double lowStrike = data.LastSale, highStrike = data.LastSale, lowVolatility = 0, highVolatility = 0;
    bool any = false;
    for (const SmileLine& line : data.Smile) {
        auto* series = NewLine(SmileSeriesName(line), SideColours[line.Side],
                               line.Expiration == 0 ? Qt::SolidLine : Qt::DashLine);
        series->setPointsVisible(true);
        for (const auto& [strike, volatility] : line.Points) {
            series->append(strike, volatility);
            lowStrike = std::min(lowStrike, strike);
            highStrike = std::max(highStrike, strike);
            lowVolatility = any ? std::min(lowVolatility, volatility) : volatility;
            highVolatility = any ? std::max(highVolatility, volatility) : volatility;
            any = true;
        }
        Attach(*chart, series, *x, *y);
    }
    const auto [xLow, xHigh] = Padded(lowStrike, highStrike);
    const auto [yLow, yHigh] = Padded(lowVolatility, highVolatility);
    x->setRange(xLow, xHigh);
    y->setRange(std::max(0.0, yLow), yHigh);
    auto* lastSale = NewLine(QLatin1String(LastSaleSeriesName), palette.text().color(), Qt::DotLine, 1.5);
    lastSale->append(data.LastSale, y->min());
    lastSale->append(data.LastSale, y->max());
    Attach(*chart, lastSale, *x, *y);
    return chart;
}

std::unique_ptr<QChart> HistoryChart(const SymbolChart& data, const QPalette& palette)
{
    auto chart = NewChart(QStringLiteral("%1 implied volatility, 52 weeks: IV rank %2, IV percentile %3")
                              .arg(QString::fromStdString(data.Symbol), Figure(data.Standing.Rank),
                                   Figure(data.Standing.Percentile)),
                          palette);
    auto* x = new QDateTimeAxis;
    auto* y = new QValueAxis;
    StyleAxis(*x, QString(), palette);
    StyleAxis(*y, QStringLiteral("IV (%)"), palette);
    x->setFormat(QStringLiteral("yyyy-MM-dd"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto* history = NewLine(QLatin1String(HistorySeriesName), palette.highlight().color(), Qt::SolidLine);
    history->setPointsVisible(data.History.size() < 60);
    for (const HistoryPoint& point : data.History) history->append(TimeOf(point.Date), point.Volatility);
    Attach(*chart, history, *x, *y);
    const std::string first = data.History.empty() ? data.Date : data.History.front().Date;
    // A lone day stands in the middle of three.
    const qint64 day = 86400000;
    const qint64 start = TimeOf(first) - (data.History.size() < 2 ? day : 0);
    const qint64 end = std::max(TimeOf(data.Date), start + 2 * day);
    x->setTickCount(data.History.size() < 2 ? 3 : 4);
    x->setRange(QDateTime::fromMSecsSinceEpoch(start, Qt::UTC), QDateTime::fromMSecsSinceEpoch(end, Qt::UTC));
    if (data.YearHigh && data.YearLow) {
        for (const auto& [name, value, style] : {std::tuple{YearHighSeriesName, *data.YearHigh, Qt::DashLine},
                                                 std::tuple{YearLowSeriesName, *data.YearLow, Qt::DashDotLine}}) {
            auto* bound = NewLine(QStringLiteral("%1 %2 %").arg(QLatin1String(name), Figure(value)),
                                  palette.text().color(), style, 1);
            bound->append(start, value);
            bound->append(end, value);
            Attach(*chart, bound, *x, *y);
        }
        const auto [yLow, yHigh] = Padded(*data.YearLow, *data.YearHigh);
        y->setRange(std::max(0.0, yLow), yHigh);
    }
    return chart;
}
