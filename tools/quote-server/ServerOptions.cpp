#include "ServerOptions.h"

#include <functional>
#include <map>

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

bool ReadCount(const std::string& text, int& into, int lowest, int highest) {
    const std::optional<std::int32_t> value = ParseInteger(text);
    if (!value || *value < lowest || *value > highest) return false;
    into = *value;
    return true;
}

using Setter = std::function<bool(ServerOptions&, const std::string&)>;

Setter NamedFault(Fault fault) {
    return [fault](ServerOptions& o, const std::string& v) {
        o.Faults.Symbols[fault] = SymbolSet(v);
        return true;
    };
}

const std::map<std::string, Setter>& Setters() {
    static const std::map<std::string, Setter> setters = {
        {"--port", [](ServerOptions& o, const std::string& v) { return ReadCount(v, o.Port, 0, 65535); }},
        {"--market", [](ServerOptions& o, const std::string& v) { o.MarketFile = v; return true; }},
        {"--generate", [](ServerOptions& o, const std::string& v) { return ReadCount(v, o.Generate, 0, 99999); }},
        {"--now", [](ServerOptions& o, const std::string& v) { o.Now = ParseDateTime(v); return o.Now.has_value(); }},
        {"--rate", [](ServerOptions& o, const std::string& v) {
             const std::optional<double> rate = ParseDecimal(v);
             if (rate) o.Rate = static_cast<float>(*rate);
             return rate.has_value(); }},
        {"--user", [](ServerOptions& o, const std::string& v) { o.UserName = v; return true; }},
        {"--password", [](ServerOptions& o, const std::string& v) { o.Password = v; return true; }},
        {"--quote-prefix", [](ServerOptions& o, const std::string& v) { o.QuotePrefix = v; return true; }},
        {"--options-prefix", [](ServerOptions& o, const std::string& v) { o.OptionsPrefix = v; return true; }},
        {"--log", [](ServerOptions& o, const std::string& v) { o.LogFile = v; return true; }},
        {"--tls-cert", [](ServerOptions& o, const std::string& v) { o.TlsCertificate = v; return !v.empty(); }},
        {"--tls-key", [](ServerOptions& o, const std::string& v) { o.TlsKey = v; return !v.empty(); }},
        {"--slow", NamedFault(Fault::Slow)},
        {"--slow-every", [](ServerOptions& o, const std::string& v) { return ReadCount(v, o.Faults.SlowEvery, 0, 1 << 30); }},
        {"--slow-ms", [](ServerOptions& o, const std::string& v) { return ReadCount(v, o.Faults.SlowMilliseconds, 0, 600000); }},
        {"--drop", NamedFault(Fault::Drop)},
        {"--drop-every", [](ServerOptions& o, const std::string& v) { return ReadCount(v, o.Faults.DropEvery, 0, 1 << 30); }},
        {"--try-again", NamedFault(Fault::TryAgain)},
        {"--try-again-every", [](ServerOptions& o, const std::string& v) { return ReadCount(v, o.Faults.TryAgainEvery, 0, 1 << 30); }},
        {"--junk", NamedFault(Fault::Junk)},
        {"--nul", NamedFault(Fault::Nul)},
        {"--huge", NamedFault(Fault::Huge)},
        {"--cut-body", NamedFault(Fault::CutBody)},
        {"--hang", NamedFault(Fault::Hang)},
        {"--chains", [](ServerOptions& o, const std::string& v) { o.ChainsFile = v; return !v.empty(); }},
        {"--stocks", [](ServerOptions& o, const std::string& v) { o.StocksFile = v; return !v.empty(); }},
        {"--layout", [](ServerOptions& o, const std::string& v) {
             const std::optional<ChainLayout> layout = ParseChainLayout(v);
             if (layout) o.Layout = *layout;
             return layout.has_value(); }},
        {"--snapshot", [](ServerOptions& o, const std::string& v) {
             const std::optional<ChainSnapshot> snapshot = ParseChainSnapshot(v);
             if (snapshot) o.Snapshot = *snapshot;
             return snapshot.has_value(); }},
        {"--bad-chunk", NamedFault(Fault::BadChunk)},
        {"--gzip-bomb", NamedFault(Fault::GzipBomb)},
    };
    return setters;
}

} // namespace

std::optional<ServerOptions> ParseServerOptions(const std::vector<std::string>& arguments,
                                                std::string& error) {
    ServerOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name == "--quiet") {
            options.Quiet = true;
            continue;
        }
        const auto setter = Setters().find(name);
        if (setter == Setters().end()) {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (i + 1 == arguments.size() || !setter->second(options, arguments[i + 1])) {
            error = "option " + name + " needs a valid value";
            return std::nullopt;
        }
        ++i;
    }
    if (options.TlsCertificate.empty() != options.TlsKey.empty()) {
        error = "--tls-cert and --tls-key go together";
        return std::nullopt;
    }
    return options;
}
