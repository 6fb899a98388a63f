// Formats and readers as tables: every row of cases/tables/*.tsv is one call and its expected text.
// A row is: function, input, argument, expected, and why (tab separated; \r \n \t \f \\ \xHH
// escapes and \{...} for generated text; # starts a comment line). A failure names the file and line.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <array>
#include <bit>
#include <charconv>
#include <clocale>
#include <csignal>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/history/IvStanding.h"
#include "core/http/HttpAnswerReader.h"
#include "core/http/HttpGetRequest.h"
#include "core/numbers/ArithmeticFault.h"
#include "core/numbers/NumberText.h"
#include "core/quotes/Clock.h"
#include "core/quotes/OptionCalendar.h"
#include "core/quotes/OptionWindow.h"
#include "core/quotes/PageScanner.h"
#include "core/quotes/Pricing.h"
#include "core/quotes/QuoteCache.h"
#include "core/quotes/QuoteRecord.h"
#include "core/quotes/QVA.h"
#include "core/report/DisplayPattern.h"
#include "core/report/ResultsBlock.h"
#include "core/report/ResultsPrinting.h"
#include "core/settings/Criterion.h"
#include "core/settings/FilterCriteria.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/Startup.h"
#include "core/text/Base64.h"
#include "core/text/RecordFormat.h"
#include "core/run/Evaluation.h"
#include "core/run/PassTally.h"
#include "core/run/ProgressFile.h"
#include "core/run/ReadQuoteRecord.h"
#include "core/run/ReplaySource.h"
#include "core/run/StockScreen.h"
#include "core/run/SymbolList.h"
#include "core/run/SymbolOutputFiles.h"
#include "core/run/TransferSecurity.h"
#include "core/text/TextFile.h"
#include "support/ExampleQuote.h"
#include "support/FileLines.h"
#include "support/LoggingRunHost.h"
#include "support/PageTestSupport.h"
#include "support/QuoteRecordSamples.h"
#include "support/RecordingPrinter.h"
#include "support/TemporaryDirectory.h"

namespace {

std::string Unescaped(const std::string& field);

// What a row cannot hold itself: "N*TEXT" is TEXT (escapes allowed) N times, "N?SEED" N random
// bytes of the seed but no "<" (which would open a tag swallowing the rest of a page), "N!SEED"
// with them; quote cache records of support/QuoteRecordSamples.h: "NRSYMBOL" the record of SYMBOL
// at a last sale of N, "NOSYMBOL" the same with an option block that says NO, "NLSYMBOL" the first
// N lines of the record.
std::string Generated(const std::string& recipe)
{
    std::size_t digits = 0;
    const std::size_t count = std::stoul(recipe, &digits);
    const char kind = recipe[digits];
    const std::string rest = recipe.substr(digits + 1);
    std::string text;
    if (kind == 'R' || kind == 'O') return kind == 'R' ? RecordOf(rest, count) : RecordOf(rest, count, nullptr);
    if (kind == 'L') {
        text = RecordOf(rest);
        std::size_t end = 0;
        for (std::size_t i = 0; i < count; ++i) end = text.find("\r\n", end) + 2;
        return text.substr(0, end);
    }
    if (kind == '*') {
        const std::string unit = Unescaped(rest);
        for (std::size_t i = 0; i < count; ++i) text += unit;
        return text;
    }
    std::mt19937 random(std::stoul(rest));
    for (std::size_t i = 0; i < count; ++i) {
        const char c = static_cast<char>(random() % 256);
        text += c == '<' && kind == '?' ? '.' : c;
    }
    return text;
}

std::string Unescaped(const std::string& field)
{
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const char code = field[++i];
        if (code == '{') {
            const std::size_t close = field.find('}', i);
            text += Generated(field.substr(i + 1, close - i - 1));
            i = close;
        } else if (code == 'x') {
            text += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            text += code == 'r' ? '\r' : code == 'n' ? '\n' : code == 't' ? '\t' : code == 'f' ? '\f' : code;
        }
    }
    return text;
}

std::string Shown(const std::optional<double>& number) { return number ? FormatDouble(*number) : "none"; }

std::string ShownValues(const std::vector<RecordValue>& values)
{
    std::string shown;
    for (const RecordValue& value : values)
        shown += (shown.empty() ? "" : "|") + (value.Quoted ? '"' + value.Text + '"' : value.Text);
    return shown;
}

// `reads` successive reads of `read` from a page holding `text`, each value or "none".
template <typename Reader>
std::string ReadsFromPage(const std::string& text, const std::string& reads, Reader read)
{
    PageBuffer page;
    page.PageText = text;
    std::string shown;
    for (int i = 0; i < (reads.empty() ? 1 : std::stoi(reads)); ++i) {
        const auto value = read(page);
        std::string text = "none";
        if constexpr (std::is_same_v<std::decay_t<decltype(*value)>, float>) {
            if (value) text = FormatSingle(*value);
        } else {
            if (value) text = std::to_string(*value);
        }
        shown += (i ? "|" : "") + text;
    }
    return shown;
}

// The answer read from `bytes` in pieces of `piece` bytes (all at once when empty), then the end of
// the connection.
std::string AnswerReadFrom(const std::string& bytes, const std::string& piece)
{
    HttpAnswerReader reader;
    const std::size_t size = piece.empty() ? std::max<std::size_t>(bytes.size(), 1) : std::stoul(piece);
    for (std::size_t at = 0; at < bytes.size(); at += size) reader.Take(std::string_view(bytes).substr(at, size));
    const bool beforeEnd = reader.CurrentStage() == HttpAnswerReader::Stage::Complete;
    switch (reader.TakeEnd()) {
    case HttpAnswerReader::Stage::Complete:
        return std::to_string(reader.Status()) + "|" + reader.Body() + (beforeEnd ? "" : " (at the end)");
    case HttpAnswerReader::Stage::Malformed: return "malformed: " + reader.Fault();
    case HttpAnswerReader::Stage::CutShort: return "cut: " + reader.Fault();
    default: return std::string("still open");
    }
}

// `text` as the content of a file, for the readers that take a path.
template <typename Reader>
auto ReadFromFile(const std::string& text, Reader read)
{
    const TemporaryDirectory directory;
    const std::string path = directory.File("file");
    EXPECT_TRUE(ReplaceFile(path, text));
    return read(path);
}

// The model of "stock strike rate dividend-rate volatility days".
ModelInputs ModelOf(const std::string& text)
{
    std::istringstream words(text);
    ModelInputs model;
    words >> model.ModelStockPrice >> model.ModelStrike >> model.InterestRate >> model.ModelDividendRate >>
        model.ModelVolatility >> model.ModelDaysToExpiry;
    return model;
}

Side SideOf(const std::string& text) { return text.starts_with("call") ? Calls : Puts; }

std::string Rounded4(float value) { return FormatDouble(std::round(value * 1e4) / 1e4); }

// The example quote of the test support with its 45 call included: "" as it is, "flat" with the
// 52-week high at the low, "no volume", or "no notes" (no option included, no averages).
QuoteData ExampleQuoteOf(const std::string& kind)
{
    FixedClock clock{LocalDateTime{}};
    SharedState state{clock};
    FillExample(state);
    QuoteData quote = state.Quote;
    quote.Series.OptNote[Calls][2][0] = OptionNote::Included;
    if (kind == "flat") quote.Stock.High52Week = quote.Stock.Low52Week;
    if (kind == "no volume") quote.Stock.Volume = -1;
    if (kind == "no notes") {
        FillSeries(quote.Series.OptNote, OptionNote::NotIncluded);
        quote.QVA.QVAAverage = {-1, -1};
    }
    return quote;
}

// Settings with the criteria "Name=Value" (separated by blanks; a quoted value is a text) in
// force, the rest off, and the choices AvgQVAusing and DrvQVAfrom.
UserSettings CriteriaOf(const std::string& text)
{
    UserSettings settings;
    settings.InterestRate = 0.05f;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const auto equals = word.find('=');
        const std::string name = word.substr(0, equals), value = word.substr(equals + 1);
        if (name == "AvgQVAusing" || name == "DrvQVAfrom")
            (name == "AvgQVAusing" ? settings.AvgQVAusing : settings.DrvQVAfrom) = static_cast<std::int16_t>(std::stoi(value));
        else
            settings.*FindCriterion(name)->Member =
                value[0] == '"' ? Criterion::Text(value.substr(1, value.size() - 2)) : ValueCheck(value);
    }
    return settings;
}

std::string VerdictName(SymbolVerdict verdict)
{
    const std::map<SymbolVerdict, std::string> names{
        {SymbolVerdict::NotSaved, "not saved"},   {SymbolVerdict::PutsAhead, "puts ahead"},
        {SymbolVerdict::OptionIncluded, "included"}, {SymbolVerdict::CallsAhead, "calls ahead"},
        {SymbolVerdict::MinQVAReached, "Min QVA reached"}};
    return names.at(verdict);
}

// The verdict on option notes "C20=2" (side, strike position, expiration = note; every other
// option not included) with the averages "QVAC/QVAP" in percent in front.
std::string OptionVerdictOf(const std::string& averagesAndNotes, const std::string& criteria)
{
    OptionSeries series;
    FillSeries(series.OptNote, OptionNote::NotIncluded);
    std::istringstream words(averagesAndNotes);
    std::string averages;
    words >> averages;
    for (std::string note; words >> note;)
        series.OptNote[note[0] == 'C' ? Calls : Puts][note[1] - '0'][note[2] - '0'] = static_cast<OptionNote>(note[4] - '0');
    const auto slash = averages.find('/');
    return VerdictName(OptionVerdict(series, std::stof(averages.substr(0, slash)),
                                     std::stof(averages.substr(slash + 1)), CriteriaOf(criteria)));
}

// One symbol evaluated in a program directory of its own: the example quote with only its call at
// strike position 2, first expiration, priced by the model at 30 %, changed by the `situation` words,
// under `criteria`. Shown: the verdict, the progress record, the saved count and the files written.
std::string EvaluationOf(const std::string& situation, const std::string& criteria)
{
    const TemporaryDirectory directory;
    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
    SharedState state{clock};
    FillExample(state);
    state.Paths = FilePaths::Build(directory.Path());
    state.Run.SavedCount = 0;
    state.Settings = CriteriaOf("DrvQVAfrom=3 " + criteria);
    ClearOptions(state.Quote);
    const float price = ModelPrice(state.Quote, state.Settings.InterestRate, Calls, 2, 0, 0.3f);
    SetOption(state.Quote, Calls, 2, 0, price, price, price, 100, 500, -1.0f, 0);
    const float huge = std::numeric_limits<float>::max();
    std::istringstream words(situation);
    for (std::string word; words >> word;) {
        if (word == "no-volume") state.Quote.Stock.Volume = -1;
        if (word == "flat-year") state.Quote.Stock.High52Week = state.Quote.Stock.Low52Week = 45.375f;
        if (word == "overflowing-mid-price") SetOption(state.Quote, Calls, 1, 0, huge, huge, huge, 10, 10, -1.0f, 0);
        if (word == "results-is-a-folder") std::filesystem::create_directory(state.Paths.FnResults);
        if (word == "progress-0,16") { EXPECT_TRUE(WriteProgress(state.Paths.FnProgress, 0, 16)); }
        if (word == "name-with-trailing-blanks") state.Quote.Stock.CompanyName = "WIDE  ";
    }
    std::vector<std::string> log;
    LoggingRunHost host(log);
    std::string shown;
    try {
        EvaluateSymbol(state, host, 1);
        shown = VerdictName(state.Run.Verdict);
    } catch (const ArithmeticFault&) {
        shown = "arithmetic fault";
    }
    return shown + ", progress " + FileSummary(state.Paths.FnProgress) + ", saved " +
           std::to_string(state.Run.SavedCount) + ", results " + FileSummary(state.Paths.FnResults) + ", good " +
           FileSummary(state.Paths.FnGoodSym) + ", saved list " + (FileExists(state.Paths.FnSavedSym) ? "written" : "none");
}

// The options of `options` (';' between them: side C or P, strike position, expiration, the
// quotes LAST/BID/ASK or one for all three, volume, open interest; a quote "@S" is the model's
// price at volatility S) solved on the bare $50 quote: each option's QVA (to the thousandth) and
// note, then per side the average and the volume and open interest weights.
std::string QVAOf(const std::string& options, const std::string& criteria)
{
    QuoteData quote = BareQuote();
    const UserSettings settings = CriteriaOf(criteria);
    std::vector<std::array<int, 3>> places;
    std::istringstream rows(options);
    for (std::string row; std::getline(rows, row, ';');) {
        std::istringstream words(row);
        std::string side, quotes, volume, openInterest;
        int strike = 0, expiration = 0;
        words >> side >> strike >> expiration >> quotes >> volume >> openInterest;
        const int which = side == "C" ? Calls : Puts;
        std::vector<float> prices;
        std::istringstream quoteWords(quotes);
        for (std::string price; std::getline(quoteWords, price, '/');)
            prices.push_back(price[0] == '@' ? ModelPrice(quote, settings.InterestRate, which, strike, expiration,
                                                          std::stof(price.substr(1)))
                                             : std::stof(price));
        prices.resize(3, prices.front());
        SetOption(quote, which, strike, expiration, prices[0], prices[1], prices[2], std::stof(volume),
                  std::stof(openInterest), -1, 0);
        places.push_back({which, strike, expiration});
    }
    try {
        ComputeQVA(quote, settings);
    } catch (const ArithmeticFault&) {
        return "arithmetic fault";
    }
    const auto thousandth = [](float value) { return FormatDouble(std::round(value * 1000.0) / 1000.0); };
    std::string shown;
    for (const auto& [side, strike, expiration] : places)
        shown += thousandth(quote.Series.OptQVA[side][strike][expiration]) + "*" +
                 std::to_string(static_cast<int>(quote.Series.OptNote[side][strike][expiration])) + " ";
    for (const int side : {Calls, Puts})
        shown += std::string(side == Calls ? "| C " : " | P ") + thousandth(quote.QVA.QVAAverage[side]) + " " +
                 FormatDouble(quote.QVA.WeightVolume[side]) + " " + FormatDouble(quote.QVA.WeightOpenInterest[side]);
    return shown;
}

// Line `line` (from 0; "count": how many) of the results block of the example quote, changed in
// turn by the `situation`'s changes (';' between them): "no-options", "averages C/P", "derive N"
// (DrvQVAfrom), "option SIDE STRIKE EXPIRATION LAST BID ASK VOLUME OPENINT QVA NOTE", or a stock field
// "bid|ask|last|shares|name|root|exchange VALUE".
std::string ResultsBlockLine(const std::string& situation, const std::string& line)
{
    FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
    SharedState state{clock};
    FillExample(state);
    StockQuote& stock = state.Quote.Stock;
    std::istringstream changes(situation);
    for (std::string change; std::getline(changes, change, ';');) {
        std::istringstream words(change);
        std::string what, value;
        words >> what >> std::ws;
        std::getline(words, value);
        std::istringstream values(value);
        if (what == "no-options") ClearOptions(state.Quote);
        if (what == "averages") {
            char slash = 0;
            values >> state.Quote.QVA.QVAAverage[Calls] >> slash >> state.Quote.QVA.QVAAverage[Puts];
        }
        if (what == "derive") state.Settings.DrvQVAfrom = static_cast<std::int16_t>(std::stoi(value));
        if (what == "option") {
            std::string side;
            int strike = 0, expiration = 0;
            std::array<float, 6> figures{};
            std::int16_t note = 0;
            values >> side >> strike >> expiration;
            for (float& figure : figures) values >> figure;
            values >> note;
            SetOption(state.Quote, side == "C" ? Calls : Puts, strike, expiration, figures[0], figures[1], figures[2],
                      figures[3], figures[4], figures[5], note);
        }
        if (what == "bid" || what == "ask" || what == "last")
            (what == "bid" ? stock.BidPrice : what == "ask" ? stock.AskPrice : stock.LastSale) = std::stof(value);
        if (what == "shares") stock.SharesOutstanding = std::stod(value);
        if (what == "name" || what == "root" || what == "exchange")
            (what == "name" ? stock.CompanyName : what == "root" ? stock.OptionRoot : stock.Exchange) = value;
    }
    const Lines lines = LinesOf(BuildResultsBlock(state));
    return line == "count" ? std::to_string(lines.size()) : lines.at(std::stoul(line));
}

// The criterion a screened-out symbol is reported with, its figure and the bound ("-" for none).
std::string ScreenFailureOf(const std::string& kind, const std::string& criteria)
{
    const ScreenResult result = ScreenAnalysedSymbol(ExampleQuoteOf(kind), CriteriaOf(criteria));
    if (!result.Failure) return result.Verdict == SymbolVerdict::NotSaved ? "not saved, no failure" : "saved";
    const auto shown = [](const std::optional<double>& number) { // to the thousandth
        return number ? FormatDouble(std::round(*number * 1000) / 1000) : std::string("-");
    };
    return result.Failure->Criterion + " " + shown(result.Failure->Value) + " " + shown(result.Failure->Bound);
}

// The `fields` (comma separated) of the stock page `markup` parsed over the figures of another
// symbol, or "refused" when the page is not usable (and nothing was cached).
std::string StockPageFigures(const std::string& markup, const std::string& fields)
{
    QuoteData quote;
    quote.Stock = StockOf(77, "OLD NAME");
    PageBuffer page = PreparedPage(markup);
    const TemporaryDirectory directory;
    const std::string fnQuote = directory.File("Quote.txt");
    if (!ParseStockPage(page, quote, "ACME", fnQuote, TestNow)) return FileExists(fnQuote) ? "cached" : "refused";
    if (ReadWholeFile(fnQuote) != StockRecordText("ACME", quote.Stock)) return "cached otherwise";
    const StockQuote& s = quote.Stock;
    const std::map<std::string, std::string> figures{
        {"name", s.CompanyName},       {"last", FormatSingle(s.LastSale)},      {"bid", FormatSingle(s.BidPrice)},
        {"volume", std::to_string(s.Volume)}, {"dividend", FormatSingle(s.Dividend)},
        {"pe", FormatSingle(s.PriceEarnings)}, {"shares", FormatDouble(s.SharesOutstanding)},
        {"yield", FormatSingle(s.YieldPercent)}, {"exdividend", s.ExDividendDate}};
    std::string shown;
    for (std::size_t start = 0, comma = 0; comma != std::string::npos; start = comma + 1) {
        comma = fields.find(',', start);
        shown += (start ? "|" : "") + figures.at(fields.substr(start, comma - start));
    }
    return shown;
}

// The six values an option page of `where` ("SYMBOL LAST SLOT", the slot as side, strike position
// and expiration: "ABC 65 C21"; the December call at 50 of ACME at 47.5 when empty) stores in the
// slot, or "NO" when it stores none (and the cache says so).
std::string OptionPageValues(const std::string& markup, const std::string& where)
{
    std::istringstream words(where.empty() ? "ACME 47.5 C20" : where);
    std::string symbol, slot;
    float lastSale = 0;
    words >> symbol >> lastSale >> slot;
    QuoteData quote;
    ClearQuoteRecord(quote, TestNow);
    quote.Strikes = SelectStrikes(lastSale);
    PageBuffer page = PreparedPage(markup);
    const TemporaryDirectory directory;
    const std::string fnQuote = directory.File("Quote.txt");
    const bool stored = ParseOptionPage(page, quote, symbol, fnQuote);
    if (ReadWholeFile(fnQuote) != OptionBlockText(stored ? &quote.Series : nullptr)) return "cached otherwise";
    const int side = slot[0] == 'C' ? Calls : Puts, strike = slot[1] - '0', expiration = slot[2] - '0';
    const std::string& optionSymbol = quote.Series.OptSymbol[side][strike][expiration];
    if (!stored)
        return (quote.Stock.OptionRoot.empty() ? "NO" : "NO, root " + quote.Stock.OptionRoot) +
               (optionSymbol.empty() ? "" : ", but " + optionSymbol);
    std::string shown = quote.Stock.OptionRoot + " " + optionSymbol + ":";
    for (const auto column : OptionRowValues) shown += " " + FormatSingle((quote.Series.*column)[side][strike][expiration]);
    return shown;
}

using Function = std::function<std::string(const std::string& input, const std::string& argument)>;

const std::map<std::string, Function> Functions{
    {"FormatPattern", [](const auto& in, const auto& arg) { return FormatPattern(std::stof(in), arg); }},
    {"FormatPatternDouble", [](const auto& in, const auto& arg) { return FormatPattern(std::stod(in), arg); }},
    {"FormatPatternInt", [](const auto& in, const auto& arg) { return FormatPattern(std::stoi(in), arg); }},
    {"FormatTextPattern", [](const auto& in, const auto& arg) { return FormatTextPattern(in, arg); }},
    {"PadField", [](const auto& in, const auto& arg) { return PadField(in, std::stoul(arg)); }},
    {"FormatSingle", [](const auto& in, const auto&) { return FormatSingle(std::stof(in)); }},
    {"ParseDecimal", [](const auto& in, const auto&) { return Shown(ParseDecimal(in)); }},
    {"ValueCheck",
     [](const auto& in, const auto&) {
         const Criterion c = ValueCheck(in);
         return c.IsText() ? "text " + c.DisplayText() + (c.InForce() ? " in force" : "")
                           : FormatDouble(c.NumberValue()) + (c.InForce() ? "" : " not in force");
     }},
    {"LoginOf",
     [](const auto& credentials, const auto&) {
         // User name, password and login line of a settings file whose login line is `credentials`.
         UserSettings settings;
         SetDefaults(settings);
         settings.Credentials = credentials;
         return ReadFromFile(SettingsFileText(settings), [](const std::string& path) {
             UserSettings back;
             if (!ReadSettings(back, path)) return std::string("not read");
             return back.UserName + "|" + back.Password + "|" + back.Credentials;
         });
     }},
    {"PrintedReport",
     [](const auto& results, const auto& progress) {
         // The pages counted before printing and the total the headings name, then each page's
         // lines after its heading and margin ("|" between lines, "/" between pages); a heading,
         // font or margin out of place is named. The progress record is "2,1" unless given, the
         // saved count before printing 4; a report "<folder>" opens but does not read.
         const TemporaryDirectory directory;
         const FilePaths paths = FilePaths::Build(directory.Path());
         EXPECT_TRUE(ReplaceFile(paths.FnProgress, progress.empty() ? "2,1\r\n" : progress) &&
                     (results == "<folder>" ? std::filesystem::create_directory(paths.FnResults)
                                            : ReplaceFile(paths.FnResults, results)));
         RecordingPrinter printer;
         std::int16_t savedCount = 4;
         FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
         if (!PrintResults(paths, savedCount, printer, clock))
             return std::string(printer.output.empty() ? "not printed" : "not printed, but output");
         if (ReadWholeFile(paths.FnResults) != results) return std::string("report changed");
         if (printer.font != "Courier New/10") return "font " + printer.font;
         if (printer.output.empty() || printer.output.back() != "<end doc>") return std::string("no document end");
         std::vector<std::vector<std::string>> pages(1);
         for (const std::string& line : printer.output)
             if (line == "<new page>") pages.emplace_back();
             else if (line != "<end doc>") pages.back().push_back(line);
         if (printer.output.size() == 1) pages.clear(); // no page at all
         const std::string margin(10, ' ');
         std::string shown =
             std::to_string(CountResultsPages(paths).value_or(-1)) + " pages of " + std::to_string(savedCount) + ": ";
         for (std::size_t page = 0; page < pages.size(); ++page) {
             const std::vector<std::string> heading{"", margin + "Printed 2026-05-05 16:10:00    Quillon results    Page " +
                                                            std::to_string(page + 1) + " of " + std::to_string(savedCount), ""};
             if (pages[page].size() < 3 || !std::equal(heading.begin(), heading.end(), pages[page].begin()))
                 return "no heading on page " + std::to_string(page + 1);
             shown += page ? "/" : "";
             for (std::size_t i = 3; i < pages[page].size(); ++i) {
                 if (!pages[page][i].starts_with(margin)) return "no margin: " + pages[page][i];
                 shown += (i > 3 ? "|" : "") + pages[page][i].substr(margin.size());
             }
         }
         return shown;
     }},
    {"SettingsLine",
     [](const auto& line, const auto& field) {
         // Start-up over data/settings/Unusual.--- with line `field` replaced by `line`: the field
         // as next written, "default" when it kept its default; any other field changed, or the file
         // rewritten, is named instead.
         const std::size_t damaged = std::stoul(field) - 1;
         const TemporaryDirectory directory;
         FixedClock clock{LocalDateTime{}};
         SharedState state{clock};
         PrepareSharedState(state, directory.Path());
         Lines lines = LinesOf(ReadWholeFile(QUILLON_TEST_DATA "/settings/Unusual.---").value_or(""));
         const Lines unusual = lines;
         lines.at(damaged) = line;
         const std::string text = Joined(lines, lines.size());
         EXPECT_TRUE(ReplaceFile(state.Paths.FnSettings, text));
         if (!LoadSettingsOrDefaults(state) || ReadWholeFile(state.Paths.FnSettings) != text) return std::string("rewritten");
         const Lines loaded = LinesOf(SettingsFileText(state.Settings));
         SetDefaults(state.Settings);
         const Lines defaults = LinesOf(SettingsFileText(state.Settings));
         for (std::size_t i = 0; i < loaded.size(); ++i)
             if (i != damaged && loaded[i] != unusual[i]) return "field " + std::to_string(i + 1) + " changed";
         return loaded[damaged] == defaults[damaged] ? "default" : loaded[damaged];
     }},
    {"InterimPrintout",
     [](const auto& text, const auto&) {
         // The printer's font, then what it was given, "|" between its calls.
         RecordingPrinter printer;
         FixedClock clock{LocalDateTime{2026, 5, 5, 16, 10, 0}};
         PrintInterimBlock(text, printer, clock);
         std::string shown = printer.font;
         for (const std::string& call : printer.output) shown += "|" + call;
         return shown;
     }},
    {"ReplaceFileUnderSizeLimit",
     [](const auto& text, const auto& limit) {
         // A file holding "old" replaced by `text` while files may grow to `limit` bytes, as on a
         // full disk: the write fails part way, or not.
         const TemporaryDirectory directory;
         const std::string path = directory.File("file");
         EXPECT_TRUE(ReplaceFile(path, "old"));
         rlimit saved{};
         ::getrlimit(RLIMIT_FSIZE, &saved);
         const auto handler = std::signal(SIGXFSZ, SIG_IGN);
         const rlimit limited{std::stoul(limit), saved.rlim_max};
         ::setrlimit(RLIMIT_FSIZE, &limited);
         const bool replaced = ReplaceFile(path, text);
         ::setrlimit(RLIMIT_FSIZE, &saved);
         std::signal(SIGXFSZ, handler);
         return (replaced ? "replaced, " : "not replaced, ") + ReadWholeFile(path).value_or("none");
     }},
    {"Base64Encode", [](const auto& in, const auto&) { return Base64Encode(in); }},
    {"Base64Decode", [](const auto& in, const auto&) { return Base64Decode(in); }},
    {"SplitRecord", [](const auto& in, const auto&) { return ShownValues(SplitRecord(in)); }},
    {"RecordReader",
     [](const auto& in, const auto& skips) {
         // `skips` marks, per value read, whether the rest of its line is skipped after it ("s").
         std::vector<RecordValue> values;
         RecordReader reader(in);
         for (std::size_t i = 0; auto value = reader.Next(); ++i) {
             values.push_back(*value);
             if (i < skips.size() && skips[i] == 's') reader.SkipRestOfLine();
         }
         return ShownValues(values);
     }},
    {"RecordNumber", [](const auto& in, const auto& quoted) { return Shown(RecordNumber({in, quoted == "quoted"})); }},
    {"RecordBoolean",
     [](const auto& in, const auto&) {
         const auto value = RecordBoolean({in, false});
         return value ? (*value ? "true" : "false") : "none";
     }},
    {"SplitLines",
     [](const auto& in, const auto&) {
         std::string shown;
         for (const auto line : SplitLines(in)) shown += std::string(line) + "|";
         return shown;
     }},
    {"StripHtmlTags", [](const auto& in, const auto&) { return StripHtmlTags(in); }},
    {"FindLabelLine",
     [](const auto& in, const auto& label) {
         // Searched with the cursor at the page's end: the search starts over from the top. Found,
         // the rest of the page from the cursor on.
         PageBuffer page;
         page.PageText = in;
         page.PageCursor = static_cast<std::int32_t>(in.size() + 1);
         if (!FindLabelLine(page, label)) return "none, cursor at " + std::to_string(page.PageCursor);
         return page.PageText.substr(static_cast<std::size_t>(page.PageCursor - 1));
     }},
    {"ReadTextField",
     [](const auto& in, const auto& maximumLength) {
         // Fields read one after the other until none is left.
         PageBuffer page;
         page.PageText = in;
         std::string shown;
         while (const auto field = ReadTextField(page, std::stoi(maximumLength))) shown += *field + "|";
         return shown;
     }},
    {"ReadPriceValue", [](const auto& in, const auto& reads) { return ReadsFromPage(in, reads, ReadPriceValue); }},
    {"ReadWholeNumber", [](const auto& in, const auto& reads) { return ReadsFromPage(in, reads, ReadWholeNumber); }},
    {"ParseDateTime",
     [](const auto& in, const auto&) {
         const auto when = ParseDateTime(in);
         return when ? FormatDateTime(*when) : "none";
     }},
    {"BuildExpirationCalendar",
     [](const auto& in, const auto& position) {
         // month (0 = January), day, days to expiry, call and put month codes
         const ExpirationCalendar calendar = BuildExpirationCalendar(ParseDateTime(in).value());
         const int i = std::stoi(position);
         return std::to_string(calendar.ExpiryMonth[i]) + " " + std::to_string(calendar.ExpiryDay[i]) + " " +
                std::to_string(calendar.DaysToExpiry[i]) + " " + calendar.ExpiryMonthCode[Calls][i] +
                calendar.ExpiryMonthCode[Puts][i];
     }},
    {"SelectStrikes",
     [](const auto& in, const auto&) {
         const StrikeTable table = SelectStrikes(std::stof(in));
         std::string shown;
         for (const float strike : table.StrikePrice) shown += FormatSingle(strike) + " ";
         return shown + std::string(table.StrikeCode.begin(), table.StrikeCode.end());
     }},
    {"StrikeCodeFor",
     [](const auto& in, const auto&) {
         const char code = StrikeCodeFor(std::stof(in));
         return code ? std::string(1, code) : std::string("none");
     }},
    {"PriceUsed",
     [](const auto& lastBidAsk, const auto& drvQVAfrom) {
         // The price of a put whose quotes are `lastBidAsk` ("max": the largest float).
         OptionSeries series{};
         std::istringstream quotes(lastBidAsk);
         for (auto column : {&OptionSeries::OptLast, &OptionSeries::OptBid, &OptionSeries::OptAsk}) {
             std::string quote;
             quotes >> quote;
             (series.*column)[Puts][2][1] = quote == "max" ? std::numeric_limits<float>::max() : std::stof(quote);
         }
         return FormatSingle(PriceUsed(series, static_cast<std::int16_t>(std::stoi(drvQVAfrom)), Puts, 2, 1));
     }},
    {"IvStanding",
     [](const auto& days, const auto& today) {
         // Over `days` stored days holding 0.10, 0.11, 0.12, ...: IV rank and IV percentile of `today`.
         std::vector<double> year;
         for (int i = 0; i < std::stoi(days); ++i) year.push_back(0.10 + 0.01 * i);
         const IvStanding standing = StandingOf(std::stod(today), year);
         const auto shown = [](std::optional<double> value) { return value ? FormatDouble(std::round(*value * 1e4) / 1e4) : "n/a"; };
         return shown(standing.Rank) + " " + shown(standing.Percentile);
     }},
    {"FirstDayOfYearEndingOn", [](const auto& in, const auto&) { return FirstDayOfYearEndingOn(in).value_or("none"); }},
    {"NormalCdf", [](const auto& x, const auto&) { return FormatDouble(std::round(NormalCdf(std::stof(x)) * 1e5) / 1e5); }},
    {"CallAndPut",
     [](const auto& in, const auto&) { return Rounded4(CallValue(ModelOf(in))) + " " + Rounded4(PutValue(ModelOf(in))); }},
    {"OptionValue", [](const auto& in, const auto& side) { return Rounded4(OptionValue(ModelOf(in), SideOf(side))); }},
    {"ImpliedVolatility",
     [](const auto& in, const auto& sideAndPrice) {
         // The volatility that the model `in` solves for the price of the side ("call 1.5").
         ModelInputs model = ModelOf(in);
         try {
             SolveImpliedVolatility(model, SideOf(sideAndPrice), std::stof(sideAndPrice.substr(sideAndPrice.find(' '))));
         } catch (const ArithmeticFault&) {
             return std::string("arithmetic fault");
         }
         return Rounded4(model.ModelVolatility);
     }},
    {"ExerciseGain",
     [](const auto& sideStockStrike, const auto&) {
         std::istringstream words(sideStockStrike);
         std::string side;
         float stock = 0, strike = 0;
         words >> side >> stock >> strike;
         return FormatSingle(ExerciseGain(SideOf(side), stock, strike)) + " intrinsic " +
                FormatSingle(IntrinsicValue(SideOf(side), stock, strike));
     }},
    {"IsOwnOptionRoot", [](const auto& in, const auto&) { return IsOwnOptionRoot(in) ? "yes" : "no"; }},
    {"OptionRootOf", [](const auto& in, const auto&) { return OptionRootOf(in); }},
    {"ReplayedAroundDamage",
     [](const auto& from, const auto& to) {
         // Which of AAA, IBM (its record with `from` replaced by `to`) and MSFT a replay reads whole.
         std::string ibm = RecordOf("IBM");
         if (ibm.find(from) == std::string::npos) return "no " + from + " in the record";
         ibm.replace(ibm.find(from), from.size(), to);
         return ReadFromFile(RecordOf("AAA") + ibm + RecordOf("MSFT", 145), [](const std::string& path) {
             QuoteFileReader reader;
             QuoteData quote;
             std::string read;
             if (!reader.Open(path)) return read;
             for (const char* symbol : {"AAA", "IBM", "MSFT"})
                 if (ReadQuoteRecord(reader, quote, symbol, TestNow)) read += std::string(read.empty() ? "" : " ") + symbol;
             return read;
         });
     }},
    {"Replay",
     [](const auto& cache, const auto& symbols) {
         // The symbols a replay pass over `cache` reads whole, in list order ("?" after one it
         // waits for), and how many of them it found no record for. "cancel" in the list cancels
         // the source, "again" starts the list over without a new pass, as a resumed run does.
         FixedClock clock(TestNow);
         SharedState state(clock);
         std::vector<std::string> log;
         LoggingRunHost host(log);
         ReplaySource source(state, host);
         return ReadFromFile(cache, [&](const std::string& path) {
             state.Paths.FnQuote = path;
             EXPECT_TRUE(source.StartPass());
             std::istringstream words(symbols);
             std::string read;
             for (state.Run.SymbolIndex = 1; words >> state.Run.CurrentSymbol; ++state.Run.SymbolIndex) {
                 if (state.Run.CurrentSymbol == "cancel") source.Cancel();
                 if (state.Run.CurrentSymbol == "again") state.Run.SymbolIndex = 0;
                 if (state.Run.CurrentSymbol == "cancel" || state.Run.CurrentSymbol == "again") continue;
                 source.BeginSymbol();
                 const std::optional<std::int16_t> ok = source.Step();
                 if (!ok || *ok) read += state.Run.CurrentSymbol + (ok ? " " : "? ");
             }
             return read + std::to_string(state.Run.Tally.MissingFromQuoteFile) + " missing";
         });
     }},
    {"ReplayedOptionRoot",
     [](const auto& symbol, const auto& cachedRoot) {
         // The root a replay gives `symbol` when its cached option symbols start with `cachedRoot`.
         const OptionSeries series = SeriesOf(cachedRoot);
         QuoteFileReader reader;
         QuoteData quote;
         const bool read = ReadFromFile(RecordOf(symbol, 45.5f, &series), [&](const std::string& path) {
             return reader.Open(path) && ReadQuoteRecord(reader, quote, symbol, LocalDateTime{2026, 3, 9, 15, 30, 0});
         });
         return read ? quote.Stock.OptionRoot : "not read";
     }},
    {"StockPage", StockPageFigures},
    {"PassesStockScreen",
     [](const auto& kind, const auto& criteria) {
         return PassesStockScreen(ExampleQuoteOf(kind).Stock, CriteriaOf(criteria)) ? "passes" : "fails";
     }},
    {"ScreenFailure", ScreenFailureOf},
    {"ResultsBlockLine", ResultsBlockLine},
    {"Evaluate", EvaluationOf},
    {"SavedSymbolLines",
     [](const auto& optionRoot, const auto&) {
         QuoteData quote = ExampleQuoteOf("");
         quote.Stock.OptionRoot = optionRoot;
         return SavedSymbolLines(3, "QRX", quote.Stock, 123.45f);
     }},
    {"QVA", QVAOf},
    {"OptionVerdict", OptionVerdictOf},
    {"OptionPage", OptionPageValues},
    {"OptionRowStored",
     [](const auto& symbolLine, const auto& stockAndLastSale) {
         const auto blank = stockAndLastSale.find(' ');
         QuoteData quote;
         ClearQuoteRecord(quote, TestNow);
         quote.Strikes = SelectStrikes(std::stof(stockAndLastSale.substr(blank + 1)));
         PageBuffer page;
         page.PageText = "CALL (." + symbolLine + "\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n";
         const TemporaryDirectory directory;
         const std::string stock = stockAndLastSale.substr(0, blank);
         return ParseOptionPage(page, quote, stock, directory.File("Quote.txt")) ? "yes" : "no";
     }},
    {"SwitchSelectsTls", [](const auto& in, const auto&) { return SwitchSelectsTls(in) ? "yes" : "no"; }},
    {"HttpAnswer", AnswerReadFrom},
    {"HttpGetRequest",
     [](const auto& path, const auto& to) {
         HttpRequest request;
         request.Path = path;
         request.UserName = "NORVALE";
         request.Password = "lantern4";
         std::istringstream words(to);
         std::string tls;
         words >> request.Host >> request.Port >> tls;
         request.UseTls = tls == "tls";
         return HttpGetRequest(request);
     }},
    {"IsUsableHostName", [](const auto& in, const auto&) { return IsUsableHostName(in) ? "yes" : "no"; }},
    {"IsLoopbackHost", [](const auto& in, const auto&) { return IsLoopbackHost(in) ? "yes" : "no"; }},
    {"ReadProgress",
     [](const auto& in, const auto&) {
         const auto record = ReadFromFile(in, ReadProgress);
         return record ? std::to_string(record->first) + "," + std::to_string(record->second) : "none";
     }},
    {"ProgressRecordWrite",
     [](const auto& before, const auto& record) {
         // The record rewritten in place over a file that held `before`.
         return ReadFromFile(before, [&record](const std::string& path) {
             ProgressRecord progress;
             const auto comma = record.find(',');
             if (!progress.Open(path) || progress.Write(static_cast<std::int16_t>(std::stoi(record.substr(0, comma))),
                                                        static_cast<std::int16_t>(std::stoi(record.substr(comma + 1)))) != 0)
                 return std::string("not written");
             return ReadWholeFile(path).value_or("none");
         });
     }},
    {"ParseSavedCountField",
     [](const auto& in, const auto&) {
         const auto count = ParseSavedCountField(in);
         return count ? std::to_string(*count) : "none";
     }},
    {"PassTallyText",
     [](const auto& outcomes, const auto& missing) {
         PassTally tally;
         for (const char outcome : outcomes)
             tally.Count(outcome == 'S' ? SymbolOutcome::Saved : outcome == 'X' ? SymbolOutcome::ScreenedOut
                         : outcome == 'N' ? SymbolOutcome::NoQuotes : SymbolOutcome::Error);
         tally.MissingFromQuoteFile = missing.empty() ? 0 : std::stoi(missing);
         return PassTallyText(tally);
     }},
    {"SymbolOfLine", [](const auto& in, const auto&) { return std::string(SymbolOfLine(in)); }},
    {"LoadSymbols",
     [](const auto& in, const auto&) {
         // The whole load as the run window does it: read, sort, merge.
         auto symbols = ReadFromFile(in, [](const std::string& path) { return ReadSymbolFile(path); });
         if (!symbols) return std::string("none");
         SortSymbols(*symbols);
         MergeDuplicateSymbols(*symbols);
         std::string shown;
         for (const auto& symbol : *symbols) shown += symbol + "|";
         return shown;
     }},
};

TEST(Table, EveryRowGivesItsExpectedText)
{
    int rows = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUILLON_SOURCE_DIR "/tests/cases/tables")) {
        std::ifstream file(entry.path());
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            if (line.empty() || line[0] == '#') continue;
            std::vector<std::string> fields;
            for (std::size_t start = 0, tab;; start = tab + 1) {
                tab = line.find('\t', start);
                fields.push_back(Unescaped(line.substr(start, tab - start)));
                if (tab == std::string::npos) break;
            }
            const std::string where = entry.path().filename().string() + ":" + std::to_string(number);
            ASSERT_GE(fields.size(), 4u) << where;
            ASSERT_TRUE(Functions.contains(fields[0])) << where << ": no function " << fields[0];
            EXPECT_EQ(Functions.at(fields[0])(fields[1], fields[2]), fields[3]) << where << ": " << line;
            ++rows;
        }
    }
    EXPECT_GT(rows, 100);
}

// Number texts are the files' and the report's, never the locale's.
TEST(Table, ADecimalCommaLocaleChangesNoNumberText)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    const std::vector<std::string> shown{FormatSingle(0.375f), FormatDouble(1234.5), Shown(ParseDecimal("0.375")),
                                         FormatSingleItem(0.375f), Shown(RecordNumber({"0,375", false})),
                                         ValueCheck("0,375").DisplayText(), Criterion::Number(1234.5).DisplayText(),
                                         FormatPattern(45.375f, "$0.00")};
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(shown, (std::vector<std::string>{"0.375", "1234.5", "0.375", "0.375", "none", "NA", "1234.5", "$45.38"}));
}

TEST(Table, Base64RoundTripsRandomBytes)
{
    std::mt19937 random(20240607);
    for (int round = 0; round < 500; ++round) {
        std::string text(random() % 40, '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        const std::string encoded = Base64Encode(text);
        ASSERT_EQ(encoded.size(), (text.size() + 2) / 3 * 4);
        ASSERT_EQ(Base64Decode(encoded), text) << encoded;
    }
    int outside = 0;
    for (int c = 0; c < 256; ++c) outside += Base64CharValue(static_cast<char>(c)) == 255;
    EXPECT_EQ(outside, 256 - 64);
}

// The quick path of FormatSingle against the general conversion it stands in for, over singles
// of every decade it serves, both signs, and the edges of its range.
TEST(Table, FormatSingleAgreesWithTheGeneralConversion)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<std::uint32_t> bits(std::bit_cast<std::uint32_t>(1e-6f), std::bit_cast<std::uint32_t>(1e8f));
    for (int round = 0; round < 200000; ++round) {
        const float value = std::bit_cast<float>(bits(random) | (round % 2 ? 0x80000000u : 0u));
        char general[32];
        std::string expected(general, std::to_chars(general, general + sizeof general, value, std::chars_format::general, 7).ptr);
        if (const auto e = expected.find('e'); e != std::string::npos) expected[e] = 'E';
        ASSERT_EQ(FormatSingle(value), expected) << std::bit_cast<std::uint32_t>(value);
    }
}

} // namespace
