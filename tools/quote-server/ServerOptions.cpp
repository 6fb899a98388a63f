#include "ServerOptions.h"

#include "core/numbers/NumberText.h"

namespace {

std::set<std::string> SymbolSet(const std::string& list) {
    std::set<std::string> symbols;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start) symbols.insert(list.substr(start, comma - start));
        start = comma + 1;
    }
    return symbols;
}

// A value from `lowest` to `highest`.
CommandOption RangeOption(std::string name, std::string valueName, std::string help, int& target, int lowest,
                          int highest) {
    return {std::move(name), "", std::move(valueName), std::move(help),
            [&target, lowest, highest](const std::string& value) -> std::optional<std::string> {
                const std::optional<std::int32_t> count = ParseInteger(value);
                if (!count || *count < lowest || *count > highest)
                    return "wants a whole number from " + std::to_string(lowest) + " to " + std::to_string(highest) +
                           ", not '" + value + "'";
                target = *count;
                return std::nullopt;
            }};
}

// Any text, the empty one included.
CommandOption AnyTextOption(std::string name, std::string valueName, std::string help, std::string& target) {
    return {std::move(name), "", std::move(valueName), std::move(help), [&target](const std::string& value) {
                target = value;
                return std::optional<std::string>();
            }};
}

CommandOption FaultOption(std::string name, Fault fault, std::string help, FaultSettings& faults) {
    return {std::move(name), "", "SYM[,SYM]", std::move(help), [fault, &faults](const std::string& value) {
                faults.Symbols[fault] = SymbolSet(value);
                return std::optional<std::string>();
            }};
}

} // namespace

const CommandUsage ServerUsage{
    "quillon-quote-server", "[OPTIONS]",
    "Serves made-up stock and option pages on 127.0.0.1 and prints the port on the first line.\n"
    "Named faults strike a symbol's first request only; the --*-every faults strike every Nth\n"
    "request of all.",
    "Exit status: 0 stopped by SIGINT or SIGTERM, 1 cannot read the market or listen, 2 usage error.\n"};

std::vector<CommandOption> ServerOptionTable(ServerOptions& o) {
    FaultSettings& f = o.Faults;
    return {
        RangeOption("--port", "N", "port to listen on (default 0: a free one)", o.Port, 0, 65535),
        TextOption("--market", "FILE", "market file (default: the bundled demo market)", o.MarketFile),
        RangeOption("--generate", "N", "add N generated symbols G00001.. for load tests", o.Generate, 0, 99999),
        TimeOption("--now", "price the chains for \"YYYY-MM-DD HH:MM:SS\" instead of the clock", o.Now),
        {"--rate", "", "FRACTION", "risk-free rate per year (default 0.05)",
         [&o](const std::string& value) -> std::optional<std::string> {
             const std::optional<double> rate = ParseDecimal(value);
             if (!rate) return "wants a decimal fraction, not '" + value + "'";
             o.Rate = static_cast<float>(*rate);
             return std::nullopt;
         }},
        AnyTextOption("--user", "NAME", "user name of the Basic login (default NORVALE)", o.UserName),
        AnyTextOption("--password", "TEXT", "password of the Basic login (default lantern4)", o.Password),
        AnyTextOption("--quote-prefix", "PATH", "path of the stock pages before the symbol", o.QuotePrefix),
        AnyTextOption("--options-prefix", "PATH", "path of the option pages before the symbol", o.OptionsPrefix),
        AnyTextOption("--log", "FILE", "append the request log to FILE (default: standard error)", o.LogFile),
        FlagOption("--quiet", "-q", "no request log", o.Quiet),
        TextOption("--tls-cert", "FILE", "serve HTTPS with this PEM certificate (chain); needs --tls-key",
                   o.TlsCertificate),
        TextOption("--tls-key", "FILE", "the PEM key of --tls-cert", o.TlsKey),
        FaultOption("--slow", Fault::Slow, "answer these symbols late (--slow-ms)", f),
        RangeOption("--slow-every", "N", "answer every Nth request late", f.SlowEvery, 0, 1 << 30),
        RangeOption("--slow-ms", "MS", "how late a slow answer is (default 3000)", f.SlowMilliseconds, 0, 600000),
        FaultOption("--drop", Fault::Drop, "send only the headers for these symbols", f),
        RangeOption("--drop-every", "N", "send only the headers for every Nth request", f.DropEvery, 0, 1 << 30),
        FaultOption("--try-again", Fault::TryAgain, "answer a busy page for these symbols", f),
        RangeOption("--try-again-every", "N", "answer a busy page for every Nth request", f.TryAgainEvery, 0,
                    1 << 30),
        FaultOption("--junk", Fault::Junk, "answer binary junk for these symbols", f),
        FaultOption("--nul", Fault::Nul, "put a NUL byte behind every tag for these symbols", f),
        FaultOption("--huge", Fault::Huge, "answer ten megabytes for these symbols", f),
        FaultOption("--cut-body", Fault::CutBody, "close the connection half-way through the body", f),
        FaultOption("--hang", Fault::Hang, "send the headers, then a byte now and then, forever", f),
        FaultOption("--bad-chunk", Fault::BadChunk,
                    "send 60 % of the page chunked, then a chunk size that does not read", f),
        FaultOption("--gzip-bomb", Fault::GzipBomb, "send 2 MB marked gzip that inflate to 2 GB", f),
        TextOption("--chains", "FILE", "serve this real option chain file for the quote date of --now instead",
                   o.ChainsFile),
        ChainLayoutOption(o.Layout),
        TextOption("--stocks", "FILE", "stock figures per symbol for --chains", o.StocksFile),
        ChainSnapshotOption(o.Snapshot),
    };
}

std::optional<std::string> CheckServerOptions(const ServerOptions& options) {
    if (options.TlsCertificate.empty() != options.TlsKey.empty()) return "--tls-cert and --tls-key go together";
    return std::nullopt;
}
