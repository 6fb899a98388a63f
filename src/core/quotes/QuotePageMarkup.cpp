#include "core/quotes/QuotePageMarkup.h"

#include <cmath>

#include "core/numbers/NumberText.h"
#include "core/quotes/OptionCalendar.h"

namespace {

std::string Money(double value) { return FormatDouble(Cents(value)); }

std::string Head(std::string_view title) {
    return "<HTML>\r\n<HEAD><TITLE>" + std::string(title) + "</TITLE></HEAD>\r\n<BODY>\r\n"
           "<H2>Stand-in quote server</H2>\r\n";
}

std::string Tail() {
    return "<P>Made-up figures for testing and demonstration.</P>\r\n</BODY>\r\n</HTML>\r\n";
}

std::string Row(std::string_view label, std::string_view value) {
    return "<TR><TD>" + std::string(label) + "</TD><TD>" + std::string(value) + "</TD></TR>\r\n";
}

void AddText(std::string& page, std::string_view label, std::string_view text) {
    if (!text.empty()) page += Row(label, text);
}

void AddMoney(std::string& page, std::string_view label, const std::optional<double>& value) {
    if (value) page += Row(label, Money(*value));
}

void AddCount(std::string& page, std::string_view label, const std::optional<long long>& value) {
    if (value) page += Row(label, std::to_string(*value));
}

// The top of a stock page down to the line that the company name follows.
std::string StockPageTop(std::string_view symbol, std::string_view name) {
    return Head("Stock quote " + std::string(symbol)) +
           "<P>Delayed quote for " + std::string(symbol) + "</P>\r\n"
           "<P><A HREF=\"#filings\">SEC Filings</A> | <A HREF=\"#chain\">Option chain</A></P>\r\n"
           "<TABLE>\r\n<TR><TH COLSPAN=2>Last Trade</TH></TR>\r\n"
           "<TR><TH COLSPAN=2>" + std::string(name) + "</TH></TR>\r\n";
}

} // namespace

double Cents(double value) { return std::round(value * 100) / 100; }

std::vector<double> StrikeLadder(double last) {
    const StrikeTable table = SelectStrikes(static_cast<float>(last));
    std::vector<double> ladder(table.StrikePrice.begin(), table.StrikePrice.end());
    for (int i = 0; i < 2; ++i) {
        const double lowest = ladder.front();
        const double below = lowest - (lowest < 30 ? 2.5 : 5);
        if (below >= 5) ladder.insert(ladder.begin(), below);
        const double highest = ladder.back();
        ladder.push_back(highest + (highest < 25 ? 2.5 : 5));
    }
    return ladder;
}

std::string StockPageMarkup(const StockPageFigures& f) {
    std::string page = StockPageTop(f.Symbol, f.CompanyName.empty() ? f.Symbol : f.CompanyName);
    if (f.NetChange) page += Row("Tick", *f.NetChange >= 0 ? "Up" : "Down");
    AddText(page, "Exchange", f.Exchange);
    AddText(page, "Time of Last Sale", f.TimeOfLastSale);
    AddText(page, "Size Bid/Ask", f.SizeBidAsk);
    AddText(page, "Ex-Dividend Date", f.ExDividendDate);
    page += Row("Last Sale", f.LastSale ? Money(*f.LastSale) : "N/A");
    if (f.NetChange) page += Row("Net Change", (*f.NetChange > 0 ? "+" : "") + Money(*f.NetChange));
    if (f.NetChange && f.PreviousClose)
        page += Row("Percent Change",
                    Money(*f.PreviousClose > 0 ? *f.NetChange * 100 / *f.PreviousClose : 0));
    AddMoney(page, "Bid", f.Bid);
    AddMoney(page, "Ask", f.Ask);
    AddMoney(page, "Open", f.Open);
    AddMoney(page, "High", f.High);
    AddMoney(page, "Low", f.Low);
    AddMoney(page, "Previous Close", f.PreviousClose);
    AddMoney(page, "52 Week High", f.High52Week);
    AddMoney(page, "52 Week Low", f.Low52Week);
    AddMoney(page, "Volitility", f.Volatility);
    AddMoney(page, "Indicated Annual Dividend", f.Dividend);
    AddMoney(page, "EPS", f.Eps);
    AddMoney(page, "P/E", f.PriceEarnings);
    AddMoney(page, "Yield", f.YieldPercent);
    AddCount(page, "Volume", f.Volume);
    AddCount(page, "Shares Outstanding", f.SharesThousands);
    return page + "</TABLE>\r\n" + Tail();
}

std::string OptionPageMarkup(std::string_view symbol, std::string_view companyName, double lastSale,
                             const std::vector<OptionPageRow>& rows) {
    std::string page = Head("Option chain " + std::string(symbol));
    page += "<P>" + std::string(companyName) + " (" + std::string(symbol) + ") last sale " + Money(lastSale) +
            "</P>\r\n";
    page += "<TABLE>\r\n<TR><TH>Option</TH><TH>Last</TH><TH>Change</TH><TH>Bid</TH><TH>Ask</TH>"
            "<TH>Volume</TH><TH>Open Int</TH></TR>\r\n";
    for (const OptionPageRow& row : rows) {
        page += "<TR><TD>" + Money(row.Strike) + (row.Side == 0 ? " Call" : " Put") + " (.<B>" +
                row.Symbol + "</B>)</TD><TD>" + Money(row.Last) + "</TD><TD>" + Money(row.Change) +
                "</TD><TD>" + Money(row.Bid) + "</TD><TD>" + Money(row.Ask) + "</TD><TD>" +
                std::to_string(row.Volume) + "</TD><TD>" + std::to_string(row.OpenInterest) +
                "</TD></TR>\r\n";
    }
    return page + "</TABLE>\r\n" + Tail();
}

std::string TryAgainPage(std::string_view symbol) {
    return Head("Busy " + std::string(symbol)) +
           "<P>The quote system is busy. Please try again in a few minutes.</P>\r\n" + Tail();
}

std::string SymbolNotFoundPage(std::string_view symbol) {
    return Head("Option chain " + std::string(symbol)) + "<P>SYMBOL_NOT_FOUND: " +
           std::string(symbol) + "</P>\r\n" + Tail();
}
