#pragma once
// Command line of quillon-quote-server.

#include <optional>
#include <string>
#include <vector>

#include "FaultPlan.h"
#include "core/chains/ChainLayout.h"
#include "core/quotes/Clock.h"
#include "core/text/CommandLine.h"

struct ServerOptions {
    int Port = 0;                  // 0 picks a free port
    std::string MarketFile;        // empty: the bundled demo market
    int Generate = 0;              // extra generated symbols G00001.. for load tests
    std::optional<LocalDateTime> Now; // the day whose expirations the chains are priced for
    float Rate = 0.05f;            // risk-free rate, fraction per year
    std::string UserName = "NORVALE";
    std::string Password = "lantern4";
    std::string QuotePrefix = "/cgi-bin/getquote.dll?TICKER=";
    std::string OptionsPrefix = "/cgi-bin/options.dll?TICKER=";
    std::string LogFile;           // empty: the request log goes to stderr
    bool Quiet = false;            // no request log at all
    std::string TlsCertificate;    // both set: HTTPS with this PEM certificate (chain) and key
    std::string TlsKey;
    FaultSettings Faults;
    std::string ChainsFile;        // set: serve this option chain file instead of the made-up market
    std::string StocksFile;        // the stock figures beside it (optional)
    ChainLayout Layout = ChainLayout::Auto;
    ChainSnapshot Snapshot = ChainSnapshot::At1545;
};

// The options of the server, each writing into `options`.
std::vector<CommandOption> ServerOptionTable(ServerOptions& options);

// Options that only make sense together; the reason when they do not.
std::optional<std::string> CheckServerOptions(const ServerOptions& options);

extern const CommandUsage ServerUsage;
