#include "core/chains/StockFile.h"

#include <cmath>
#include <optional>
#include <vector>

#include "core/chains/ChainIndex.h"
#include "core/chains/CsvHeader.h"
#include "core/chains/CsvReader.h"
#include "core/numbers/NumberText.h"

namespace {

struct TextColumn {
    std::vector<std::string_view> Spellings;
    std::string StockPageFigures::*Field;
};

struct FigureColumn {
    std::vector<std::string_view> Spellings;
    std::optional<double> StockPageFigures::*Field;
};

const std::vector<TextColumn>& TextColumns()
{
    static const std::vector<TextColumn> columns{
        {{"company", "company_name", "name"}, &StockPageFigures::CompanyName},
        {{"exchange"}, &StockPageFigures::Exchange},
    };
    return columns;
}

const std::vector<FigureColumn>& FigureColumns()
{
    static const std::vector<FigureColumn> columns{
        {{"last", "last_sale", "last_price"}, &StockPageFigures::LastSale},
        {{"net_change", "change"}, &StockPageFigures::NetChange},
        {{"bid"}, &StockPageFigures::Bid},
        {{"ask"}, &StockPageFigures::Ask},
        {{"open"}, &StockPageFigures::Open},
        {{"high"}, &StockPageFigures::High},
        {{"low"}, &StockPageFigures::Low},
        {{"previous_close", "prev_close"}, &StockPageFigures::PreviousClose},
        {{"high_52_week", "52_week_high"}, &StockPageFigures::High52Week},
        {{"low_52_week", "52_week_low"}, &StockPageFigures::Low52Week},
        {{"dividend", "annual_dividend"}, &StockPageFigures::Dividend},
        {{"eps"}, &StockPageFigures::Eps},
        {{"pe", "p/e", "pe_ratio"}, &StockPageFigures::PriceEarnings},
        {{"yield_percent", "yield", "dividend_yield"}, &StockPageFigures::YieldPercent},
    };
    return columns;
}

const std::vector<std::string_view> SymbolSpellings{"symbol", "ticker"};
const std::vector<std::string_view> VolumeSpellings{"volume"};
const std::vector<std::string_view> SharesThousandsSpellings{"shares_thousands"};

class StockReader {
public:
    explicit StockReader(const std::string& path) : path_(path) {}

    bool Take(const CsvRecord& record)
    {
        if (!symbolColumn_) return TakeHeader(record);
        const std::string_view* symbol = FieldAt(record.Fields, *symbolColumn_);
        if (!symbol || symbol->empty()) {
            file_.Skipped.Add(record.Line, "the symbol is missing");
            return true;
        }
        StockPageFigures figures;
        figures.Symbol = ListSymbolOf(*symbol);
        for (std::size_t i = 0; i < TextColumns().size(); ++i)
            if (const std::string_view* text = FieldAt(record.Fields, textIndex_[i]))
                figures.*TextColumns()[i].Field = std::string(*text);
        for (std::size_t i = 0; i < FigureColumns().size(); ++i)
            figures.*FigureColumns()[i].Field = Figure(record, figureIndex_[i]);
        if (const auto volume = Figure(record, volumeIndex_)) figures.Volume = std::llround(*volume);
        if (const auto shares = Figure(record, sharesIndex_)) figures.SharesThousands = std::llround(*shares);
        if (!reason_.empty()) {
            file_.Skipped.Add(record.Line, reason_);
            reason_.clear();
            return true;
        }
        file_.Stocks[figures.Symbol] = std::move(figures);
        return true;
    }

    std::variant<StockFile, std::string> Result()
    {
        if (!refusal_.empty()) return refusal_;
        if (!symbolColumn_) return path_ + " is not a stock file: it has no header line.";
        return std::move(file_);
    }

private:
    bool TakeHeader(const CsvRecord& record)
    {
        const std::vector<std::string> header = NormalizedHeader(record.Fields);
        const int symbol = FindColumn(header, SymbolSpellings);
        if (symbol < 0) {
            refusal_ = path_ + " is not a stock file: it has no column symbol.";
            return false;
        }
        symbolColumn_ = symbol;
        for (const TextColumn& column : TextColumns()) textIndex_.push_back(FindColumn(header, column.Spellings));
        for (const FigureColumn& column : FigureColumns()) figureIndex_.push_back(FindColumn(header, column.Spellings));
        volumeIndex_ = FindColumn(header, VolumeSpellings);
        sharesIndex_ = FindColumn(header, SharesThousandsSpellings);
        return true;
    }

    // Absent when the column or the field is missing or empty; a text that is no number is noted.
    std::optional<double> Figure(const CsvRecord& record, int column)
    {
        const std::string_view* text = FieldAt(record.Fields, column);
        if (!text || text->empty()) return std::nullopt;
        if (const auto value = ParseDecimal(*text)) return value;
        if (reason_.empty()) reason_ = "a figure is not a number: \"" + std::string(*text) + "\"";
        return std::nullopt;
    }

    const std::string& path_;
    StockFile file_;
    std::optional<int> symbolColumn_;
    std::vector<int> textIndex_, figureIndex_;
    int volumeIndex_ = -1, sharesIndex_ = -1;
    std::string reason_, refusal_;
};

} // namespace

std::variant<StockFile, std::string> ReadStockFile(const std::string& path)
{
    StockReader reader(path);
    if (auto error = ReadCsvFile(path, [&reader](const CsvRecord& record) { return reader.Take(record); }))
        return *error;
    return reader.Result();
}
