#pragma once
// What-if counts: how many symbols of the quote cache one criterion saves at other values, and
// which criteria bind. Everything runs on a QuoteSnapshot through the run's own screen.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/insight/QuoteSnapshot.h"
#include "core/settings/FilterCriteria.h"

// The values of a sweep: a list "5,10,20" or an inclusive range "5:50:5" (start, end, positive step);
// "NA" (in a list) switches the criterion off. Nothing for any other text, or a range of more than
// MaxSweepValues values.
inline constexpr std::size_t MaxSweepValues = 1000;
std::optional<std::vector<Criterion>> ParseSweepValues(std::string_view text);

struct SweepRow {
    std::string_view Criterion; // the criterion changed; empty in the row of the current settings
    ::Criterion Value;
    int Saved = 0;
    // Against the current settings: symbols saved with this value but not now, and the other way round.
    std::vector<std::string> Joined, Left;
};

// The current settings' row first, then one row per value with only `criterion` changed.
std::vector<SweepRow> SweepCriterion(QuoteSnapshot& snapshot, const UserSettings& settings,
                                     const FilterCriterion& criterion, const std::vector<Criterion>& values);

// The current settings' row first, then for every criterion in force (in the settings file's order)
// the row with that criterion alone switched off: its Joined are the symbols it keeps out.
std::vector<SweepRow> SweepCriteriaOff(QuoteSnapshot& snapshot, const UserSettings& settings);

// The sweep's pseudo-criteria on the IV rank (percent). They are no settings, so never in force now:
// a value keeps of the currently saved symbols those whose rank reaches it (MinIVRank) or does not
// pass it (MaxIVRank); a symbol without a rank ("n/a") fails either, NA keeps all.
inline constexpr std::string_view MinIVRankName = "MinIVRank";
inline constexpr std::string_view MaxIVRankName = "MaxIVRank";
bool IsIvRankCriterion(std::string_view name);

// The IV rank of a symbol of the snapshot, whose QVA results are those of the current settings.
using IvRankOf = std::function<std::optional<double>(const ReplayedSymbol&)>;

// The current settings' row first, then one row per value of the pseudo-criterion `name`. `rankOf`
// is asked once per saved symbol.
std::vector<SweepRow> SweepIvRank(QuoteSnapshot& snapshot, const UserSettings& settings, std::string_view name,
                                  const std::vector<Criterion>& values, const IvRankOf& rankOf);
