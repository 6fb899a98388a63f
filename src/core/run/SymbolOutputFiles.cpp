#include "core/run/SymbolOutputFiles.h"

#include "core/text/TextFile.h"
#include "core/report/DisplayPattern.h"

namespace {

constexpr std::string_view SavedSymbolHeader =
    "\r\n"
    " Stock        QVAC    Stock\r\n"
    " Symbol Root -QVAP    Price  %Change Company Name\r\n"
    "------- ---- ------- ------- ------- ------------------------------------\r\n";

} // namespace

void ColumnLine::PlaceAt(std::size_t column, std::string_view text)
{
    const std::size_t position = text_.size() - lineStart_ + 1; // column the next character takes
    if (position > column) {
        text_ += CrLf;
        lineStart_ = text_.size();
    }
    text_.append(column - 1 - (text_.size() - lineStart_), ' ');
    text_ += text;
}

std::string ColumnLine::Text() const { return text_ + std::string(CrLf); }

void TrimCompanyName(StockQuote& stock)
{
    const auto end = stock.CompanyName.find_last_not_of(' ');
    stock.CompanyName.erase(end == std::string::npos ? 0 : end + 1);
}

void AppendGoodSymbol(const std::string& fnGoodSym, const std::string& currentSymbol, StockQuote& stock)
{
    TrimCompanyName(stock);
    ColumnLine line;
    line.PlaceAt(1, currentSymbol);
    line.PlaceAt(9, stock.OptionRoot);
    line.PlaceAt(14, stock.CompanyName);
    (void)AppendToFile(fnGoodSym, line.Text()); // skipped by design when it cannot be opened
}

void AppendBadSymbol(const std::string& fnBadSym, const std::string& currentSymbol)
{
    (void)AppendToFile(fnBadSym, currentSymbol + std::string(CrLf)); // skipped by design
}

void AppendSavedSymbol(const std::string& fnSavedSym, std::int16_t savedCount,
                       const std::string& currentSymbol, StockQuote& stock,
                       std::optional<float> difference)
{
    TrimCompanyName(stock);
    ColumnLine line;
    line.PlaceAt(1, currentSymbol);
    line.PlaceAt(9, stock.OptionRoot);
    line.PlaceAt(14, difference ? FormatPattern(*difference, "+0.0;-0.0") + "%" : "n/a");
    line.PlaceAt(22, FormatPattern(stock.LastSale, "$0.00"));
    line.PlaceAt(30, FormatPattern(stock.PercentChange, "+0.0;-0.0") + "%");
    line.PlaceAt(38, stock.CompanyName);
    const std::string header = savedCount == 0 ? std::string(SavedSymbolHeader) : std::string();
    (void)AppendToFile(fnSavedSym, header + line.Text()); // skipped by design
}
