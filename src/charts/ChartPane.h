#pragma once
// The charts of one symbol, the smile above its IV history: the run window's chart pane and the
// picture `quillon-cli chart` renders.

#include <QWidget>

#include "core/history/SymbolChart.h"

class QChartView;

class ChartPane : public QWidget {
public:
    explicit ChartPane(QWidget* parent = nullptr);

    // Replaces both charts with those of `data`, in the pane's palette.
    void ShowChart(const SymbolChart& data);
    // Empty charts that say there is no symbol to show.
    void ShowNothing(const QString& why);

    QChartView* SmileView;
    QChartView* HistoryView;
};
