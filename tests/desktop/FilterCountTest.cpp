// The Filter dialog's count of the quote cache symbols its settings save: it follows the edits,
// the newest one winning however fast they come, and it says so when there is no cache.
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "DesktopFixture.h"
#include "support/QuoteCacheGenerator.h"
#include "core/insight/QuoteSnapshot.h"
#include "desktop/dialogs/Filter.h"
#include "desktop/services/MessageBoxes.h"

namespace {

const LocalDateTime Now{2026, 3, 9, 15, 30, 0};

} // namespace

class FilterCountTest : public QObject, private DesktopFixture {
    Q_OBJECT
public:
    FilterCountTest() : DesktopFixture(Now) {}

private:
    // The count's text as the dialog should show it for `settings`, computed straight from the core.
    QString Expected(const UserSettings& settings)
    {
        std::string problem;
        auto snapshot = ReadQuoteSnapshot(settings.FnSym, state->Paths.FnQuote, Now, problem);
        const auto saved = *SavedSymbols(*snapshot, settings);
        return QStringLiteral("%1 of %2 symbols in the quote cache pass these settings")
            .arg(std::count(saved.begin(), saved.end(), true))
            .arg(snapshot->WithQuotes);
    }

    QLabel* Count(Filter& dialog) { return dialog.findChild<QLabel*>(QStringLiteral("LabelPassCount")); }

private slots:
    void init()
    {
        NewProgramDirectoryWithDefaults();
        state->Settings.FnSym = state->Paths.DefaultFnSym;
        MessageBoxes::BeginScript();
    }
    void cleanup()
    {
        MessageBoxes::EndScript();
        state.reset();
    }

    void saysSoWithoutAQuoteCache()
    {
        Filter dialog(*state, services);
        QTRY_COMPARE(Count(dialog)->text(), QStringLiteral("no quote cache yet"));
    }

    void followsRapidEditsToTheNewest()
    {
        quote_cache_generator::GenerateQuoteCache(state->Paths.ProgramDirectory, 400, Now);
        QVERIFY(ReadSettings(state->Settings, state->Paths.FnSettings));
        Filter dialog(*state, services);
        QTRY_COMPARE(Count(dialog)->text(), Expected(state->Settings));

        auto* minLast = dialog.findChild<QLineEdit*>(QStringLiteral("TX_MinLast"));
        for (const char* text : {"1", "10", "", "100", "5", "50"}) {
            minLast->setText(QLatin1String(text));
            QTest::qWait(40);
        }
        UserSettings edited = state->Settings;
        edited.MinLast = Criterion::Number(50);
        QVERIFY(Expected(edited) != Expected(state->Settings));
        QTRY_COMPARE(Count(dialog)->text(), Expected(edited));
    }
};

QTEST_MAIN(FilterCountTest)
#include "FilterCountTest.moc"
