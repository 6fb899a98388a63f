#include "core/insight/Sweep.h"

#include <cmath>

#include "core/numbers/NumberText.h"
#include "core/quotes/QVA.h"

namespace {

std::vector<std::string_view> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

std::optional<std::vector<Criterion>> ParseRange(std::string_view text)
{
    const std::vector<std::string_view> parts = SplitAt(text, ':');
    if (parts.size() != 3) return std::nullopt;
    const auto start = ParseDecimal(parts[0]), end = ParseDecimal(parts[1]), step = ParseDecimal(parts[2]);
    if (!start || !end || !step || !(*step > 0) || *end < *start) return std::nullopt;
    // Counted from the start rather than summed, so that 0.1 steps do not drift past the end.
    const double count = std::floor((*end - *start) / *step + 1e-9) + 1;
    if (!(count <= static_cast<double>(MaxSweepValues))) return std::nullopt;
    std::vector<Criterion> values;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        // Printed and read back: 0.30000000000000004 is shown and swept as the 0.3 a user typed.
        const double value = *ParseDecimal(FormatDouble(*start + i * *step));
        values.push_back(Criterion::Number(value));
    }
    return values;
}

std::optional<std::vector<Criterion>> ParseList(std::string_view text)
{
    std::vector<Criterion> values;
    for (const std::string_view part : SplitAt(text, ',')) {
        if (part == "NA") {
            values.push_back(Criterion::Text("NA"));
        } else if (const auto number = ParseDecimal(part)) {
            values.push_back(Criterion::Number(*number));
        } else {
            return std::nullopt;
        }
    }
    return values;
}

// The row of `settings` against the saved symbols of the current settings.
// Rows of one criterion changed, against the saved symbols of the current settings. A count keeps
// the snapshot's QVA results whenever the criterion changed is none that ComputeQVA reads, and
// brings back those of the current settings first when a row before changed them.
class SweepCounter {
public:
    SweepCounter(QuoteSnapshot& snapshot, const UserSettings& current)
        : snapshot_(snapshot), current_(current), saved_(*SavedSymbols(snapshot, current))
    {
    }

    const std::vector<bool>& CurrentSaved() const { return saved_; }

    SweepRow Row(const FilterCriterion& criterion, const Criterion& value)
    {
        UserSettings changed = current_;
        changed.*criterion.Member = value;
        QVAResultsUse use = QVAResultsUse::Recompute;
        if (!ComputeQVAReads(criterion.Member)) {
            if (!analysedWithCurrent_) (void)SavedSymbols(snapshot_, current_);
            use = QVAResultsUse::Keep;
        }
        analysedWithCurrent_ = use == QVAResultsUse::Keep;
        const std::vector<bool> saved = *SavedSymbols(snapshot_, changed, use);
        SweepRow row{criterion.Name, value, 0, {}, {}};
        for (std::size_t i = 0; i < saved.size(); ++i) {
            row.Saved += saved[i] ? 1 : 0;
            if (saved[i] && !saved_[i]) row.Joined.push_back(snapshot_.Symbols[i].Symbol);
            if (!saved[i] && saved_[i]) row.Left.push_back(snapshot_.Symbols[i].Symbol);
        }
        return row;
    }

private:
    QuoteSnapshot& snapshot_;
    const UserSettings& current_;
    const std::vector<bool> saved_;
    bool analysedWithCurrent_ = true;
};

// The first row: the current settings, nothing joined or left.
SweepRow CurrentRow(const std::vector<bool>& current)
{
    SweepRow row;
    for (const bool saved : current) row.Saved += saved ? 1 : 0;
    return row;
}

} // namespace

std::optional<std::vector<Criterion>> ParseSweepValues(std::string_view text)
{
    return text.find(':') != std::string_view::npos ? ParseRange(text) : ParseList(text);
}

std::vector<SweepRow> SweepCriterion(QuoteSnapshot& snapshot, const UserSettings& settings,
                                     const FilterCriterion& criterion, const std::vector<Criterion>& values)
{
    SweepCounter counter(snapshot, settings);
    std::vector<SweepRow> rows{CurrentRow(counter.CurrentSaved())};
    rows.front().Value = settings.*criterion.Member;
    for (const Criterion& value : values) rows.push_back(counter.Row(criterion, value));
    return rows;
}

std::vector<SweepRow> SweepCriteriaOff(QuoteSnapshot& snapshot, const UserSettings& settings)
{
    SweepCounter counter(snapshot, settings);
    std::vector<SweepRow> rows{CurrentRow(counter.CurrentSaved())};
    for (const FilterCriterion& criterion : FilterCriteria)
        if ((settings.*criterion.Member).InForce()) rows.push_back(counter.Row(criterion, Criterion::Text("NA")));
    return rows;
}

bool IsIvRankCriterion(std::string_view name) { return name == MinIVRankName || name == MaxIVRankName; }

std::vector<SweepRow> SweepIvRank(QuoteSnapshot& snapshot, const UserSettings& settings, std::string_view name,
                                  const std::vector<Criterion>& values, const IvRankOf& rankOf)
{
    const std::vector<bool> current = *SavedSymbols(snapshot, settings);
    std::vector<std::optional<double>> ranks(current.size());
    for (std::size_t i = 0; i < current.size(); ++i)
        if (current[i]) ranks[i] = rankOf(snapshot.Symbols[i]);
    std::vector<SweepRow> rows{CurrentRow(current)};
    rows.front().Value = Criterion::Text("NA");
    const std::string_view kept = name == MinIVRankName ? MinIVRankName : MaxIVRankName;
    for (const Criterion& value : values) {
        SweepRow& row = rows.emplace_back(SweepRow{kept, value, 0, {}, {}});
        const std::optional<double> bound = value.InForce();
        for (std::size_t i = 0; i < current.size(); ++i) {
            if (!current[i]) continue;
            const bool within = !bound || (ranks[i] && (kept == MinIVRankName ? *ranks[i] >= *bound
                                                                              : *ranks[i] <= *bound));
            if (within) ++row.Saved;
            else row.Left.push_back(snapshot.Symbols[i].Symbol);
        }
    }
    return rows;
}
