// The chart pane of a fixture symbol, read through its series: the smile's points per side and
// expiration, the last-sale marker, the history line of the 52 weeks and its high and low.
#include <QChartView>
#include <QLineSeries>
#include <QTemporaryDir>
#include <QtTest>

#include "charts/ChartPane.h"
#include "charts/SymbolCharts.h"

namespace {

// ACME on 2026-03-09: strikes 95, 100, 105; the put of the next expiration at 105 has no volatility.
HistoryDay Today()
{
    HistoryDay day;
    day.Symbol = "ACME";
    day.Date = "2026-03-09";
    day.LastSale = 101.5f;
    day.QVAC = 0.30f;
    day.QVAP = 0.35f;
    std::size_t slot = 0;
    for (const int side : {Calls, Puts})
        for (const int position : {1, 2, 3})
            for (const int expiration : {0, 1}) {
                HistoryOption& option = day.Options[slot++];
                option = {side, position, expiration, 90.0f + 5 * position, expiration == 0 ? 11 : 39, {}, {}, {}};
                if (!(side == Puts && position == 3 && expiration == 1))
                    option.ImpliedVolatility = 0.25f + 0.01f * position + 0.02f * side;
            }
    return day;
}

// Stored: 25 days of February at 20 %, 21 %, ... 44 %; a day older than 52 weeks at 99 %, which the
// chart leaves out; a row of today's date at 5 %, which today's quotes replace.
void FillStore(HistoryStore& store)
{
    std::vector<HistoryDay> days;
    for (int i = 0; i < 25; ++i) {
        HistoryDay day = Today();
        day.Date = QStringLiteral("2026-02-%1").arg(i + 1, 2, 10, QLatin1Char('0')).toStdString();
        day.QVAC = day.QVAP = 0.20f + 0.01f * static_cast<float>(i);
        days.push_back(day);
    }
    for (const auto& [date, volatility] : {std::pair{"2025-03-01", 0.99f}, std::pair{"2026-03-09", 0.05f}}) {
        HistoryDay day = Today();
        day.Date = date;
        day.QVAC = day.QVAP = volatility;
        days.push_back(day);
    }
    QVERIFY(!store.Record(days));
}

QLineSeries* Series(QChartView* view, const QString& namePrefix)
{
    for (QAbstractSeries* series : view->chart()->series())
        if (series->name().startsWith(namePrefix)) return qobject_cast<QLineSeries*>(series);
    return nullptr;
}

} // namespace

class ChartPaneTest : public QObject {
    Q_OBJECT
private slots:
    void ShowsTheSmileAndTheYearOfHistory()
    {
        QTemporaryDir dir;
        HistoryStore store;
        QVERIFY(!store.Open(dir.filePath(QStringLiteral("History.db")).toStdString()));
        FillStore(store);
        ChartPane pane;
        pane.ShowChart(ChartOfDay(Today(), store));

        const struct {
            const char* name;
            int points;
            double firstVolatility; // percent, at strike 95
        } smile[] = {{"Calls, 11 days", 3, 26}, {"Calls, 39 days", 3, 26}, {"Puts, 11 days", 3, 28}, {"Puts, 39 days", 2, 28}};
        for (const auto& line : smile) {
            QLineSeries* series = Series(pane.SmileView, QLatin1String(line.name));
            QVERIFY2(series, line.name);
            QCOMPARE(series->count(), line.points);
            QCOMPARE(series->at(0).x(), 95.0);
            QVERIFY(qAbs(series->at(0).y() - line.firstVolatility) < 1e-4);
        }
        QLineSeries* lastSale = Series(pane.SmileView, QLatin1String(LastSaleSeriesName));
        QVERIFY(lastSale);
        QCOMPARE(lastSale->count(), 2);
        QCOMPARE(lastSale->at(0).x(), 101.5);
        QCOMPARE(lastSale->at(1).x(), 101.5);

        QLineSeries* history = Series(pane.HistoryView, QLatin1String(HistorySeriesName));
        QVERIFY(history);
        QCOMPARE(history->count(), 26); // February's 25 days and today
        QVERIFY(qAbs(history->at(25).y() - 32.5) < 1e-4); // the mean of QVAC and QVAP
        const struct {
            const char* name;
            double value;
        } bounds[] = {{YearHighSeriesName, 44.0}, {YearLowSeriesName, 20.0}};
        for (const auto& bound : bounds) {
            QLineSeries* series = Series(pane.HistoryView, QLatin1String(bound.name));
            QVERIFY2(series, bound.name);
            QCOMPARE(series->count(), 2);
            QVERIFY(qAbs(series->at(0).y() - bound.value) < 1e-4);
            QCOMPARE(series->at(0).x(), history->at(0).x());
            QCOMPARE(series->at(1).x(), history->at(25).x());
        }
        // 32.5 % lies 12.5 / 24 of the way from 20 % to 44 %; 13 of the 26 days lie below it.
        QVERIFY2(pane.HistoryView->chart()->title().endsWith(QLatin1String("IV rank 52.1, IV percentile 50.0")),
                 qPrintable(pane.HistoryView->chart()->title()));
    }
};

QTEST_MAIN(ChartPaneTest)
#include "ChartPaneTest.moc"
