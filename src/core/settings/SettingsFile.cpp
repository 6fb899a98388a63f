#include "core/settings/SettingsFile.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <type_traits>
#include <variant>

#include "core/text/Base64.h"
#include "core/text/RecordFormat.h"
#include "core/text/TextFile.h"

namespace {

// Field 1: Credentials behind one extra character; UserName and Password are derived from it.
struct LoginField {};

using SettingsMember =
    std::variant<LoginField, std::string UserSettings::*, std::int16_t UserSettings::*,
                 std::int32_t UserSettings::*, float UserSettings::*, Criterion UserSettings::*,
                 bool UserSettings::*>;

// Which Set...Defaults procedure resets a field.
enum class SettingsGroup { Login, QuoteServer, InterestRate, Filter, SymbolFile, QuoteSource };

struct SettingsField {
    int Number;
    SettingsMember Member;
    SettingsGroup Group;
    // The default exactly as the field's line in a freshly written file; nothing for a field
    // that the defaults leave alone.
    std::optional<std::string> Default;
};

// The 4th character of Credentials marks the line; a reader drops it, whatever it is. A Credentials
// text too short to have one (only a damaged file gives that) still gets a marker, so that the
// next read does not eat its first character.
std::string LoginItem(const std::string& credentials)
{
    const char marker = credentials.size() >= 4 ? credentials[3] : '=';
    return FormatTextItem(marker + credentials);
}

const std::array<SettingsField, 36>& SettingsTable()
{
    using G = SettingsGroup;
    using U = UserSettings;
    static const std::array<SettingsField, 36> table = [] {
        const std::string na = FormatTextItem("NA");
        return std::array<SettingsField, 36>{{
            {1, LoginField{}, G::Login, LoginItem(CredentialsOf(DefaultUserName, DefaultPassword))},
            {2, &U::DnsName, G::QuoteServer, FormatTextItem(DefaultDnsName)},
            {3, &U::PortNumber, G::QuoteServer, "80"},
            {4, &U::GetQuoteString, G::QuoteServer, FormatTextItem("/cgi-bin/getquote.dll?TICKER=")},
            {5, &U::GetOptionsQuoteString, G::QuoteServer, FormatTextItem("/cgi-bin/options.dll?TICKER=")},
            {6, &U::SwitchText, G::QuoteServer, FormatTextItem("")},
            {7, &U::InterestRate, G::InterestRate, "0.05"},
            {8, &U::MinPE, G::Filter, na},
            {9, &U::MaxPE, G::Filter, na},
            {10, &U::MinMktCap, G::Filter, na},
            {11, &U::MaxMktCap, G::Filter, na},
            {12, &U::MinVolume, G::Filter, na},
            {13, &U::MaxVolume, G::Filter, na},
            {14, &U::MinLast, G::Filter, na},
            {15, &U::MaxLast, G::Filter, na},
            {16, &U::MinBeta, G::Filter, na},
            {17, &U::MaxBeta, G::Filter, na},
            {18, &U::MinPctChange, G::Filter, na},
            {19, &U::MaxPctChange, G::Filter, na},
            {20, &U::MinYield, G::Filter, na},
            {21, &U::MaxYield, G::Filter, na},
            {22, &U::MinRange, G::Filter, na},
            {23, &U::MaxRange, G::Filter, na},
            {24, &U::MinOptVol, G::Filter, na},
            {25, &U::MinOptInt, G::Filter, FormatTextItem("100")},
            {26, &U::MinOptPctVol, G::Filter, na},
            {27, &U::MinTimeVal, G::Filter, FormatTextItem("0.375")},
            {28, &U::MaxIntVal, G::Filter, na},
            {29, &U::MinQVAC, G::Filter, na},
            {30, &U::MinQVAP, G::Filter, na},
            {31, &U::MinQVAC_QVAP, G::Filter, FormatTextItem("25")},
            {32, &U::MinQVAP_QVAC, G::Filter, FormatTextItem("25")},
            {33, &U::AvgQVAusing, G::Filter, "1"},
            {34, &U::DrvQVAfrom, G::Filter, "3"},
            {35, &U::FnSym, G::SymbolFile, std::nullopt},
            {36, &U::GetQuoteFromLocalFile, G::QuoteSource, FormatBooleanItem(false)},
        }};
    }();
    return table;
}

// --- one field's item as written ----------------------------------------------------------------

std::string FormatItem(const UserSettings& settings, LoginField)
{
    return LoginItem(settings.Credentials);
}

std::string FormatItem(const UserSettings& settings, std::string UserSettings::*member)
{
    return FormatTextItem(settings.*member);
}

template <typename Integer>
    requires std::is_integral_v<Integer> && (!std::is_same_v<Integer, bool>)
std::string FormatItem(const UserSettings& settings, Integer UserSettings::*member)
{
    return FormatIntegerItem(settings.*member);
}

std::string FormatItem(const UserSettings& settings, float UserSettings::*member)
{
    return FormatSingleItem(settings.*member);
}

std::string FormatItem(const UserSettings& settings, Criterion UserSettings::*member)
{
    const Criterion& criterion = settings.*member;
    return criterion.IsText() ? FormatTextItem(criterion.TextValue())
                              : FormatDoubleItem(criterion.NumberValue());
}

std::string FormatItem(const UserSettings& settings, bool UserSettings::*member)
{
    return FormatBooleanItem(settings.*member);
}

// --- one field taken over from a value read; false leaves the setting as it was ---------------

bool TakeItem(UserSettings& settings, LoginField, const RecordValue& value)
{
    settings.Credentials = value.Text.empty() ? std::string() : value.Text.substr(1);
    const std::string login = Base64Decode(settings.Credentials);
    const auto colon = login.find(':');
    settings.UserName = login.substr(0, colon);
    settings.Password = colon == std::string::npos ? std::string() : login.substr(colon + 1);
    return true;
}

bool TakeItem(UserSettings& settings, std::string UserSettings::*member, const RecordValue& value)
{
    settings.*member = value.Text;
    return true;
}

bool TakeWholeNumber(std::int32_t& target, const RecordValue& value, std::int32_t lowest,
                     std::int32_t highest)
{
    const auto number = RecordInteger(value);
    if (!number || *number < lowest || *number > highest) return false;
    target = *number;
    return true;
}

bool TakeItem(UserSettings& settings, std::int16_t UserSettings::*member, const RecordValue& value)
{
    std::int32_t number = 0;
    if (!TakeWholeNumber(number, value, std::numeric_limits<std::int16_t>::min(),
                         std::numeric_limits<std::int16_t>::max()))
        return false;
    settings.*member = static_cast<std::int16_t>(number);
    return true;
}

// The only 32-bit field is the port number.
bool TakeItem(UserSettings& settings, std::int32_t UserSettings::*member, const RecordValue& value)
{
    const auto port = RecordInteger(value);
    if (!port || !IsUsablePort(*port)) return false;
    settings.*member = *port;
    return true;
}

bool TakeItem(UserSettings& settings, float UserSettings::*member, const RecordValue& value)
{
    const auto number = RecordNumber(value);
    if (!number || !(std::fabs(*number) <= std::numeric_limits<float>::max())) return false;
    settings.*member = static_cast<float>(*number);
    return true;
}

// A quoted value is a text criterion, a bare one a number when it reads as one. A bare word is kept
// as text (it switches the criterion off), an empty bare value is no value at all.
bool TakeItem(UserSettings& settings, Criterion UserSettings::*member, const RecordValue& value)
{
    if (value.Quoted) {
        settings.*member = Criterion::Text(value.Text);
        return true;
    }
    if (value.Text.empty()) return false;
    const auto number = RecordNumber(value);
    settings.*member = number ? Criterion::Number(*number) : Criterion::Text(value.Text);
    return true;
}

bool TakeItem(UserSettings& settings, bool UserSettings::*member, const RecordValue& value)
{
    const auto flag = RecordBoolean(value);
    if (!flag) return false;
    settings.*member = *flag;
    return true;
}

bool TakeField(UserSettings& settings, const SettingsField& field, const RecordValue& value)
{
    return std::visit([&](auto member) { return TakeItem(settings, member, value); }, field.Member);
}

void SetGroupDefaults(UserSettings& settings, SettingsGroup group)
{
    for (const SettingsField& field : SettingsTable())
        if (field.Group == group && field.Default)
            (void)TakeField(settings, field, *RecordReader(*field.Default).Next()); // always converts
}

} // namespace

void SetDefaults(UserSettings& settings)
{
    SetGroupDefaults(settings, SettingsGroup::QuoteSource);
    SetGroupDefaults(settings, SettingsGroup::Login);
    SetQuoteServerDefaults(settings);
    SetGroupDefaults(settings, SettingsGroup::InterestRate);
    SetFilterDefaults(settings);
}

void SetQuoteServerDefaults(UserSettings& settings)
{
    SetGroupDefaults(settings, SettingsGroup::QuoteServer);
}

void SetFilterDefaults(UserSettings& settings) { SetGroupDefaults(settings, SettingsGroup::Filter); }

std::string CredentialsOf(std::string_view userName, std::string_view password)
{
    std::string login(userName);
    login += ':';
    login += password;
    return Base64Encode(login);
}

void ReadSettingsText(UserSettings& settings, std::string_view content)
{
    // One field per line: values after the first on a line are passed over, so a damaged line
    // never shifts the fields below it.
    RecordReader reader(content);
    for (const SettingsField& field : SettingsTable()) {
        const auto value = reader.Next();
        if (!value) break;
        reader.SkipRestOfLine();
        (void)TakeField(settings, field, *value); // a field that does not convert is skipped
    }
}

UserSettings ReadSettingsOverDefaults(const std::string& fnSettings)
{
    UserSettings settings;
    SetDefaults(settings);
    (void)ReadSettings(settings, fnSettings);
    return settings;
}

bool ReadSettings(UserSettings& settings, const std::string& fnSettings)
{
    const auto content = ReadWholeFile(fnSettings);
    if (!content) return false;
    ReadSettingsText(settings, *content);
    return true;
}

std::string SettingsFileText(const UserSettings& settings)
{
    std::string content;
    for (const SettingsField& field : SettingsTable()) {
        content += std::visit([&](auto member) { return FormatItem(settings, member); }, field.Member);
        content += CrLf;
    }
    return content;
}

bool WriteSettings(const UserSettings& settings, const std::string& fnSettings)
{
    return ReplaceFile(fnSettings, SettingsFileText(settings), FileAccess::OwnerOnly, FlushToDisk::Yes);
}

std::string CannotCreateText(std::string_view path)
{
    return "Cannot create " + std::string(path);
}
