#pragma once
// The settings file: 36 lines, one field each, in the record format of RecordFormat.h. The values
// in memory are the authority while the program runs; the file is rewritten whole on every change.

#include <string>
#include <string_view>

#include "core/settings/UserSettings.h"

inline constexpr const char* DefaultUserName = "NORVALE";
inline constexpr const char* DefaultPassword = "lantern4";
// Our stand-in quote server runs on the user's own machine; a default must never send the login
// to somebody else's host.
inline constexpr const char* DefaultDnsName = "localhost";

// Every setting to its default, in this order: quote source, login, quote server, interest rate,
// filter. The symbol file path (field 35) has no default and is left as it is. Writes nothing.
void SetDefaults(UserSettings& settings);

// Fields 2 to 6: DNS name, port 80, the two request paths, empty switch text.
void SetQuoteServerDefaults(UserSettings& settings);

// Fields 8 to 34: the 25 criteria ("100", "0.375", "25", "25" as texts, "NA" for the rest),
// AvgQVAusing 1, DrvQVAfrom 3.
void SetFilterDefaults(UserSettings& settings);

// The Credentials text of a login: Base64 of userName + ":" + password.
std::string CredentialsOf(std::string_view userName, std::string_view password);

// Reads the file into `settings`. False when it cannot be opened (nothing is changed then). A field
// that is missing or does not convert to its type keeps its previous value, and the result is still
// true: a short or damaged file changes only what it holds intact.
[[nodiscard]] bool ReadSettings(UserSettings& settings, const std::string& fnSettings);

// The settings a run would use, for commands that only read them: the file's intact fields over the
// defaults, the defaults alone when it is missing. The file is left as it is.
UserSettings ReadSettingsOverDefaults(const std::string& fnSettings);

// The 36 lines of the file for `settings`, each ended by CR LF.
std::string SettingsFileText(const UserSettings& settings);

// Takes over the fields of a settings file's text, by the rules of ReadSettings.
void ReadSettingsText(UserSettings& settings, std::string_view content);

// Replaces the file with all 36 fields, atomically and readable by the owner only (it holds the
// login). False when it could not be written; the old file is then untouched, and the caller tells
// the user CannotCreateText(fnSettings).
[[nodiscard]] bool WriteSettings(const UserSettings& settings, const std::string& fnSettings);

// "Cannot create " + path: the message for a file that could not be written.
std::string CannotCreateText(std::string_view path);
