#pragma once
// QVAC against QVAP for every symbol of a pass table: one point per symbol with both averages, the
// saved symbols once more in a second, highlighted series, and the two difference criteria in
// force (QVAC - QVAP = MinQVAC_QVAP, QVAP - QVAC = MinQVAP_QVAC) drawn as lines. Clicking a point
// names its row of the table.

#include <QChartView>
#include <QList>

#include "core/settings/UserSettings.h"

class PassTableModel;
class QLineSeries;
class QScatterSeries;
class QValueAxis;

class PassScatter : public QChartView {
    Q_OBJECT
public:
    // `settings` are read whenever the lines are drawn: they follow the Filter dialog's edits.
    PassScatter(const PassTableModel& rows, const UserSettings& settings, QWidget* parent = nullptr);

    QScatterSeries* Symbols;
    QScatterSeries* Saved;
    QLineSeries* CallsAheadLine; // MinQVAC_QVAP
    QLineSeries* PutsAheadLine;  // MinQVAP_QVAC

    // Every point again from the rows, and the lines from the settings as they are now.
    void Rebuild();

signals:
    // A point was clicked: `row` is its row of the model.
    void RowClicked(int row);

protected:
    void changeEvent(QEvent* event) override;

private:
    void AddRows(int first, int last);
    void FitAxesAndLines();
    void PointClicked(const QScatterSeries& series, const QList<int>& rows, const QPointF& point);
    void ApplyPalette();

    const PassTableModel& rows_;
    const UserSettings& settings_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    QList<int> symbolRows_, savedRows_; // the model row of each point, in the series' order
    double low_ = 0, high_ = 0;         // the range of the averages shown, on both axes
};
