#pragma once
// The 25 filter criteria by name, in the order of the settings file: the stock's Min/Max pairs,
// then the option criteria. The name is the criterion's own (its dialog box adds "TX_").

#include <array>
#include <string_view>

#include "core/settings/UserSettings.h"

struct FilterCriterion {
    std::string_view Name;
    Criterion UserSettings::*Member;
};

inline constexpr std::array<FilterCriterion, 25> FilterCriteria{{
    {"MinPE", &UserSettings::MinPE},
    {"MaxPE", &UserSettings::MaxPE},
    {"MinMktCap", &UserSettings::MinMktCap},
    {"MaxMktCap", &UserSettings::MaxMktCap},
    {"MinVolume", &UserSettings::MinVolume},
    {"MaxVolume", &UserSettings::MaxVolume},
    {"MinLast", &UserSettings::MinLast},
    {"MaxLast", &UserSettings::MaxLast},
    {"MinBeta", &UserSettings::MinBeta},
    {"MaxBeta", &UserSettings::MaxBeta},
    {"MinPctChange", &UserSettings::MinPctChange},
    {"MaxPctChange", &UserSettings::MaxPctChange},
    {"MinYield", &UserSettings::MinYield},
    {"MaxYield", &UserSettings::MaxYield},
    {"MinRange", &UserSettings::MinRange},
    {"MaxRange", &UserSettings::MaxRange},
    {"MinOptVol", &UserSettings::MinOptVol},
    {"MinOptInt", &UserSettings::MinOptInt},
    {"MinOptPctVol", &UserSettings::MinOptPctVol},
    {"MinTimeVal", &UserSettings::MinTimeVal},
    {"MaxIntVal", &UserSettings::MaxIntVal},
    {"MinQVAC", &UserSettings::MinQVAC},
    {"MinQVAP", &UserSettings::MinQVAP},
    {"MinQVAC_QVAP", &UserSettings::MinQVAC_QVAP},
    {"MinQVAP_QVAC", &UserSettings::MinQVAP_QVAC},
}};

// The criterion of that name (letter case as written here), or nullptr.
inline const FilterCriterion* FindCriterion(std::string_view name)
{
    for (const FilterCriterion& criterion : FilterCriteria)
        if (criterion.Name == name) return &criterion;
    return nullptr;
}
