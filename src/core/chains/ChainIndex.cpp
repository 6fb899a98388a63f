#include "core/chains/ChainIndex.h"

#include <array>

#include "core/quotes/OptionCalendar.h"

namespace {

// The expiration position of a day, or -1. A month's options expire on the Saturday of the
// calendar in older files and on the Friday before it since the exchanges moved the date.
int ExpirationPosition(std::int64_t day, const std::array<std::int64_t, ExpirationCount>& saturdays)
{
    for (int position = 0; position < ExpirationCount; ++position)
        if (day == saturdays[position] || day == saturdays[position] - 1) return position;
    return -1;
}

class ChainIndexer {
public:
    explicit ChainIndexer(const ChainFileRequest& request)
        : request_(request), quoteDay_(DaysFromCivil(request.Now.Year, request.Now.Month, request.Now.Day))
    {
        const ExpirationCalendar calendar = BuildExpirationCalendar(request.Now);
        const std::int64_t tradingDay = TradingDayNumber(request.Now);
        for (int position = 0; position < ExpirationCount; ++position)
            saturdays_[position] = tradingDay + calendar.DaysToExpiry[position];
    }

    // False stops the reading: the header was no chain header.
    bool Take(const CsvRecord& record)
    {
        if (!columns_) return TakeHeader(record);
        const auto row = ReadChainRow(record, *columns_);
        if (const auto* reason = std::get_if<std::string>(&row)) {
            index_.Skipped.Add(record.Line, *reason);
            return true;
        }
        Keep(std::get<ChainFileRow>(row), record);
        return true;
    }

    // Why the file is no chain file; empty when its header matched.
    std::string Refusal() const
    {
        if (!refusal_.empty() || columns_) return refusal_;
        return request_.Path + " is not an option chain file: it has no header line.";
    }
    ChainIndex& Index() { return index_; }

private:
    bool TakeHeader(const CsvRecord& record)
    {
        auto columns = FindChainColumns(record.Fields, request_.Layout, request_.Snapshot);
        if (auto* missing = std::get_if<std::string>(&columns)) {
            refusal_ = request_.Path + " is not an option chain file: " + *missing + ".";
            return false;
        }
        columns_ = std::get<ChainColumns>(columns);
        return true;
    }

    void Keep(const ChainFileRow& row, const CsvRecord& record)
    {
        if (row.QuoteDay >= 0 && row.QuoteDay != quoteDay_) {
            if (index_.OtherDateRows++ == 0)
                index_.FirstOtherDate = record.Fields[static_cast<std::size_t>(
                    columns_->Index[static_cast<std::size_t>(ChainField::QuoteDate)])];
            return;
        }
        symbol_ = ListSymbolOf(row.Symbol);
        if (request_.Symbols && !request_.Symbols->contains(symbol_)) return;
        SymbolChain& chain = index_.Symbols[symbol_];
        if (chain.UnderlyingLast <= 0) chain.UnderlyingLast = row.UnderlyingLast;
        const int position = ExpirationPosition(row.ExpirationDay, saturdays_);
        if (position < 0) return;
        IndexedOption option;
        option.Strike = static_cast<float>(row.Strike);
        option.Side = static_cast<std::int8_t>(row.Side);
        option.Expiration = static_cast<std::int8_t>(position);
        option.StandardRoot = row.Root.empty() || ListSymbolOf(row.Root) == symbol_;
        option.Last = static_cast<float>(row.Last);
        option.Change = static_cast<float>(row.Change);
        option.Bid = static_cast<float>(row.Bid);
        option.Ask = static_cast<float>(row.Ask);
        option.Volume = static_cast<float>(row.Volume);
        option.OpenInterest = static_cast<float>(row.OpenInterest);
        chain.Options.push_back(option);
    }

    const ChainFileRequest& request_;
    std::int64_t quoteDay_;
    std::array<std::int64_t, ExpirationCount> saturdays_{};
    std::optional<ChainColumns> columns_;
    std::string refusal_;
    std::string symbol_; // reused: one allocation for the whole file
    ChainIndex index_;
};

} // namespace

std::variant<ChainIndex, std::string> IndexChainFile(const ChainFileRequest& request)
{
    ChainIndexer indexer(request);
    if (auto error = ReadCsvFile(request.Path, [&indexer](const CsvRecord& record) { return indexer.Take(record); }))
        return *error;
    if (std::string refusal = indexer.Refusal(); !refusal.empty()) return refusal;
    return std::move(indexer.Index());
}

std::string ChainFileNotes(const ChainIndex& index, const ChainFileRequest& request)
{
    std::string notes = index.Skipped.Message(request.Path);
    if (index.OtherDateRows > 0)
        notes += "Passed over " + std::to_string(index.OtherDateRows) + (index.OtherDateRows == 1 ? " row" : " rows") +
                 " of " + request.Path +
                 " quoted on another day than " + FormatDateTime(request.Now).substr(0, 10) + " (the first: " +
                 index.FirstOtherDate + "); --now chooses the day.\n";
    return notes;
}

std::string ListSymbolOf(std::string_view fileSymbol)
{
    if (fileSymbol.starts_with('^')) fileSymbol.remove_prefix(1);
    std::string symbol(fileSymbol);
    for (char& c : symbol)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return symbol;
}
