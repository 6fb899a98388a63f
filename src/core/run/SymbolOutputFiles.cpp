#include "core/run/SymbolOutputFiles.h"

#include "core/report/DisplayPattern.h"
#include "core/text/TextFile.h"

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

std::string GoodSymbolLine(const std::string& currentSymbol, const StockQuote& stock)
{
    ColumnLine line;
    line.PlaceAt(1, currentSymbol);
    line.PlaceAt(9, stock.OptionRoot);
    line.PlaceAt(14, stock.CompanyName);
    return line.Text();
}

std::string BadSymbolLine(const std::string& currentSymbol) { return currentSymbol + std::string(CrLf); }

std::string SavedSymbolLines(std::int16_t savedCount, const std::string& currentSymbol,
                             const StockQuote& stock, std::optional<float> difference)
{
    ColumnLine line;
    line.PlaceAt(1, currentSymbol);
    line.PlaceAt(9, stock.OptionRoot);
    line.PlaceAt(14, difference ? FormatPattern(*difference, "+0.0;-0.0") + "%" : "n/a");
    line.PlaceAt(22, FormatPattern(stock.LastSale, "$0.00"));
    line.PlaceAt(30, FormatPattern(stock.PercentChange, "+0.0;-0.0") + "%");
    line.PlaceAt(38, stock.CompanyName);
    return savedCount == 0 ? std::string(SavedSymbolHeader) + line.Text() : line.Text();
}
