// The Pass Table window over a small Pass.csv taken from a recorded replay pass: sorting, the two
// filters, the block behind a double-click, the export of what is shown and the scatter.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QLineSeries>
#include <QTableView>
#include <QtTest>

#include "DesktopFixture.h"
#include "core/insight/CsvText.h"
#include "core/run/ReplaySource.h"
#include "core/settings/SettingsFile.h"
#include "desktop/DesktopSession.h"
#include "desktop/services/MessageBoxes.h"
#include "desktop/windows/PassScatter.h"
#include "desktop/windows/PassTableWindow.h"
#include "desktop/windows/SymbolBlockView.h"

namespace {

const QString Data = QStringLiteral(QUILLON_TEST_DATA);
const QString ReplayCase = QStringLiteral(QUILLON_SOURCE_DIR "/tests/cases/cli/replay-one-pass/expected");

QString Column(const QTableView& table, const QString& header)
{
    for (int column = 0; column < table.model()->columnCount(); ++column)
        if (table.model()->headerData(column, Qt::Horizontal).toString() == header) return QString::number(column);
    return {};
}

// Every cell of the rows shown, hidden columns too.
std::vector<CsvRow> ShownRows(const QTableView& table)
{
    std::vector<CsvRow> rows;
    for (int row = 0; row < table.model()->rowCount(); ++row) {
        CsvRow& cells = rows.emplace_back();
        for (int column = 0; column < table.model()->columnCount(); ++column)
            cells.push_back(table.model()->index(row, column).data().toString().toStdString());
    }
    return rows;
}

// The symbols of the rows shown, top to bottom.
QStringList ShownSymbols(const QTableView& table)
{
    QStringList symbols;
    for (int row = 0; row < table.model()->rowCount(); ++row) symbols << table.model()->index(row, 0).data().toString();
    return symbols;
}

QString FileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

class PassTableWindowTest : public QObject, private DesktopFixture {
    Q_OBJECT
public:
    PassTableWindowTest() : DesktopFixture(LocalDateTime{2026, 3, 9, 15, 30, 0}) {}

private:
    std::unique_ptr<PassTableWindow> window;

    void Sort(const QString& header, Qt::SortOrder order)
    {
        window->Table->sortByColumn(Column(*window->Table, header).toInt(), order);
    }

private slots:
    // The quote cache and settings of the recorded pass, and its table cut down to eight rows.
    void init()
    {
        NewProgramDirectoryWithDefaults();
        for (const char* name : {"Quote.txt", "Symbols.sym", "Quillon.---"})
            QVERIFY(QFile::copy(Data + "/replay/" + name, dir->filePath(name)));
        QVERIFY(QFile::copy(Data + "/pass/Pass.csv", dir->filePath("Pass.csv")));
        QVERIFY(ReadSettings(state->Settings, state->Paths.FnSettings));
        state->Settings.FnSym = state->Paths.DefaultFnSym;
        MessageBoxes::BeginScript();
        window = std::make_unique<PassTableWindow>(*state, services);
    }
    void cleanup()
    {
        window.reset();
        MessageBoxes::EndScript();
    }

    void sortsFiguresAsNumbersAndEmptyCellsLast_data()
    {
        QTest::addColumn<QString>("header");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QStringList>("symbols");
        QTest::newRow("difference up") << "qvac_qvap" << Qt::AscendingOrder
                                       << QStringList{"ATB", "BCU", "ACS", "CAU", "BBN", "AIK", "BB", "CDO"};
        QTest::newRow("difference down") << "qvac_qvap" << Qt::DescendingOrder
                                         << QStringList{"BBN", "CAU", "ACS", "BCU", "ATB", "AIK", "BB", "CDO"};
        QTest::newRow("company down") << "company" << Qt::DescendingOrder
                                      << QStringList{"BBN", "AIK", "CAU", "BCU", "ACS", "ATB", "CDO", "BB"};
    }
    void sortsFiguresAsNumbersAndEmptyCellsLast()
    {
        QFETCH(QString, header);
        QFETCH(Qt::SortOrder, order);
        QFETCH(QStringList, symbols);
        Sort(header, order);
        QCOMPARE(ShownSymbols(*window->Table), symbols);
    }

    void filtersBySymbolOrCompanyAndOutcome_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("outcome");
        QTest::addColumn<QStringList>("symbols");
        QTest::newRow("symbol") << "bb" << "all" << QStringList{"BB", "BBN"};
        QTest::newRow("company") << "Mesa" << "all" << QStringList{"CAU"};
        QTest::newRow("saved") << "" << "saved" << QStringList{"ATB", "BCU"};
        QTest::newRow("no quotes") << "" << "no quotes" << QStringList{"BB"};
        QTest::newRow("both") << "c" << "screened out" << QStringList{"ACS", "AIK", "CAU", "CDO"};
        QTest::newRow("none") << "" << "error" << QStringList{};
    }
    void filtersBySymbolOrCompanyAndOutcome()
    {
        QFETCH(QString, text);
        QFETCH(QString, outcome);
        QFETCH(QStringList, symbols);
        window->TextFilter->setText(text);
        window->OutcomeFilter->setCurrentText(outcome);
        QCOMPARE(ShownSymbols(*window->Table), symbols);
    }

    // The saved symbol's block is the one the recorded pass wrote to its report; a symbol without
    // quotes gets a line instead.
    void doubleClickShowsTheBlockTheRunShowed()
    {
        const auto open = [this](int row) {
            const QModelIndex cell = window->Table->model()->index(row, 0);
            emit window->Table->doubleClicked(cell);
            return window->BlockView()->BlockText->toPlainText();
        };
        QString page = FileText(ReplayCase + "/Results.txt");
        page.truncate(page.indexOf(QLatin1Char('\f')));
        QCOMPARE(open(2), page.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        QCOMPARE(window->BlockView()->windowTitle(), QStringLiteral("Results block [ATB]"));
        QCOMPARE(open(3), QStringLiteral("No quotes of BB in %1.").arg(dir->filePath("Quote.txt")));
    }

    void exportWritesTheRowsAndColumnsShown()
    {
        window->OutcomeFilter->setCurrentText("screened out");
        Sort("distance", Qt::AscendingOrder);
        window->Table->setColumnHidden(Column(*window->Table, "bound").toInt(), true);
        window->Table->setColumnHidden(Column(*window->Table, "volume").toInt(), false);
        services.nextChoice = dir->filePath("shown.csv");
        window->mnuExport->trigger();
        QCOMPARE(FileText(dir->filePath("shown.csv")), FileText(Data + "/pass/screened-out-by-distance.csv"));
    }

    void scatterPlotsBothAveragesHighlightsTheSavedAndDrawsTheBounds()
    {
        state->Settings.MinQVAC_QVAP = Criterion::Number(3);
        state->Settings.MinQVAP_QVAC = Criterion::Number(2);
        window->Reload();
        PassScatter& scatter = *window->Scatter;
        QCOMPARE(scatter.Symbols->count(), 5); // AIK, BB and CDO lack an average
        QCOMPARE(scatter.Saved->points(), (QList<QPointF>{{64.02345, 74.3701}, {49.7887, 54.69642}}));
        for (const auto& [line, difference] : {std::pair{scatter.CallsAheadLine, -3.0}, {scatter.PutsAheadLine, 2.0}}) {
            QVERIFY(line->isVisible());
            QCOMPARE(line->count(), 2);
            for (const QPointF& end : line->points()) QCOMPARE(end.y() - end.x(), difference);
            QVERIFY(line->at(0).x() < 49.7887 && line->at(1).x() > 77.84793); // across every point
        }
        state->Settings.MinQVAP_QVAC = Criterion();
        window->Reload();
        QVERIFY(!scatter.PutsAheadLine->isVisible());

        // A click on a point selects its row, out of a filter that hid it.
        window->OutcomeFilter->setCurrentText("no quotes");
        emit scatter.Saved->clicked(scatter.Saved->at(1));
        const QModelIndexList selected = window->Table->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.front().data().toString(), QStringLiteral("BCU"));
    }

    // Opened before the run, the window drops the last pass's rows and shows the new pass's as the
    // run writes them: at its end, the rows of the recorded pass.
    void followsThePassUnderWay()
    {
        window.reset();
        state->Settings.GetQuoteFromLocalFile = true;
        DesktopSession session(*state, services, [](SharedState& s, RunHost& host, std::function<void()>) {
            return std::unique_ptr<QuoteSource>(std::make_unique<ReplaySource>(s, host));
        });
        session.ShowMainWindow();
        session.MainWindow()->findChild<QAction*>(QStringLiteral("mnuPassTable"))->trigger();
        QCOMPARE(ShownSymbols(*session.PassTable()->Table).size(), 8);
        session.MainWindow()->Command1->click();
        QTRY_COMPARE(session.RunWindow()->Controller().PassesCompleted(), 1);
        std::vector<CsvRow> recorded = ReadCsv(FileText(ReplayCase + "/Pass.csv").toStdString());
        recorded.erase(recorded.begin());
        QVERIFY(ShownRows(*session.PassTable()->Table) == recorded);
        session.EndProgram();
    }
};

QTEST_MAIN(PassTableWindowTest)
#include "PassTableWindowTest.moc"
