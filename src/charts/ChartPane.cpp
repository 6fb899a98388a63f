#include "charts/ChartPane.h"

#include <QChartView>
#include <QVBoxLayout>

#include "charts/SymbolCharts.h"

namespace {

QChartView* NewView(const char* name, QWidget* parent)
{
    auto* view = new QChartView(parent);
    view->setObjectName(QLatin1String(name));
    view->setRenderHint(QPainter::Antialiasing);
    view->setFrameShape(QFrame::NoFrame);
    // Room for the axis labels and the legend at any scale.
    view->setMinimumSize(view->fontMetrics().averageCharWidth() * 48, view->fontMetrics().height() * 14);
    return view;
}

// The view releases the chart it had without deleting it.
void Replace(QChartView& view, QChart* chart)
{
    QChart* old = view.chart();
    view.setChart(chart);
    delete old;
}

} // namespace

ChartPane::ChartPane(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ChartPane"));
    SmileView = NewView("SmileView", this);
    HistoryView = NewView("HistoryView", this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(SmileView, 1);
    layout->addWidget(HistoryView, 1);
    ShowNothing(QStringLiteral("No symbol on screen yet"));
}

void ChartPane::ShowChart(const SymbolChart& data)
{
    Replace(*SmileView, SmileChart(data, palette()).release());
    Replace(*HistoryView, HistoryChart(data, palette()).release());
}

void ChartPane::ShowNothing(const QString& why)
{
    for (QChartView* view : {SmileView, HistoryView}) {
        auto* chart = new QChart;
        chart->setTitle(why);
        chart->setBackgroundBrush(palette().base());
        chart->setTitleBrush(palette().text());
        Replace(*view, chart);
    }
}
