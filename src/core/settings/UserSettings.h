#pragma once
// The 36 values of the settings file, held in memory as the authority while the program runs.

#include <cstdint>
#include <string>

#include "core/settings/Criterion.h"

struct UserSettings {
    // Field 1: the login, stored as Base64 of UserName + ":" + Password.
    std::string UserName;
    std::string Password;
    std::string Credentials;
    // Fields 2 to 6: where quotes come from.
    std::string DnsName;
    std::int32_t PortNumber = 0; // see IsUsablePort
    std::string GetQuoteString;
    std::string GetOptionsQuoteString;
    std::string SwitchText;
    // Field 7: risk-free rate, a fraction per year (0.05 is 5 %).
    float InterestRate = 0;
    // Fields 8 to 32: the filter criteria.
    Criterion MinPE, MaxPE, MinMktCap, MaxMktCap, MinVolume, MaxVolume, MinLast, MaxLast;
    Criterion MinBeta, MaxBeta, MinPctChange, MaxPctChange, MinYield, MaxYield, MinRange, MaxRange;
    Criterion MinOptVol, MinOptInt, MinOptPctVol, MinTimeVal, MaxIntVal, MinQVAC, MinQVAP;
    Criterion MinQVAC_QVAP, MinQVAP_QVAC;
    // Fields 33 and 34: 0 Volume / 1 Open Interest; 0 Last / 1 Bid / 2 Ask / 3 (Bid+Ask)/2.
    std::int16_t AvgQVAusing = 0;
    std::int16_t DrvQVAfrom = 0;
    // Field 35: full path of the current symbol file (may lie anywhere).
    std::string FnSym;
    // Field 36: true takes quotes from the quote cache instead of the quote server.
    bool GetQuoteFromLocalFile = false;

    bool operator==(const UserSettings&) const = default;
};

// A TCP port a connection can be made to: 1 to 65535 (0 only ever means "any port" to a listener).
// The settings reader and the quote server dialog both keep the previous port for any other number.
constexpr bool IsUsablePort(std::int64_t port) { return port >= 1 && port <= 65535; }
