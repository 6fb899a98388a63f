#pragma once
// Command line of quillon-quote-server.

#include <optional>
#include <string>
#include <vector>

#include "FaultPlan.h"
#include "core/chains/ChainLayout.h"
#include "core/quotes/Clock.h"

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

inline constexpr const char* ServerUsage =
    "usage: quillon-quote-server [--port N] [--market FILE] [--generate N]\n"
    "         [--now \"YYYY-MM-DD HH:MM:SS\"] [--rate FRACTION] [--user NAME] [--password TEXT]\n"
    "         [--quote-prefix PATH] [--options-prefix PATH] [--log FILE | --quiet]\n"
    "         [--slow SYM[,SYM]] [--slow-every N] [--slow-ms MS] [--drop SYM[,SYM]] [--drop-every N]\n"
    "         [--try-again SYM[,SYM]] [--try-again-every N]\n"
    "         [--junk SYM[,SYM]] [--nul SYM[,SYM]] [--huge SYM[,SYM]] [--cut-body SYM[,SYM]]\n"
    "         [--hang SYM[,SYM]] [--bad-chunk SYM[,SYM]] [--gzip-bomb SYM[,SYM]]\n"
    "         [--tls-cert FILE --tls-key FILE]\n"
    "         [--chains FILE [--layout cboe|generic|auto] [--stocks FILE] [--snapshot 1545|eod]]\n"
    "Serves made-up stock and option pages on 127.0.0.1; prints the port on the first line.\n"
    "--chains serves a real option chain file instead, for the quote date of --now (default: today).\n"
    "Named faults strike a symbol's first request only: --junk answers binary junk, --nul puts a\n"
    "NUL byte behind every tag, --huge answers ten megabytes, --cut-body closes the connection\n"
    "half-way through the body, --hang sends the headers and then a byte now and then, forever,\n"
    "--bad-chunk sends 60 % of the page chunked and then a chunk size that does not read,\n"
    "--gzip-bomb sends two megabytes marked gzip that inflate to two gigabytes.\n";

// Nothing when the arguments do not read; `error` then says why.
std::optional<ServerOptions> ParseServerOptions(const std::vector<std::string>& arguments,
                                                std::string& error);
