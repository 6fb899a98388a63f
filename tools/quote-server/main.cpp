// quillon-quote-server: a stand-in quote server on the loopback interface, for tests and the demo.

#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <thread>

#include "MarketFile.h"
#include "QuoteService.h"
#include "ServerOptions.h"
#include "core/text/CommandLine.h"
#include "core/text/TextFile.h"

namespace {

LocalDateTime SystemNow() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
            local.tm_sec};
}

// The bundled demo market: beside the binary in a build, in the data directory beside bin/ when
// installed, else in the source tree.
std::string DefaultMarketFile() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        for (const char* place : {"demo-market.csv", "../share/quillon/demo-market.csv"}) {
            const std::filesystem::path market = self.parent_path() / place;
            if (std::filesystem::exists(market)) return market.lexically_normal().string();
        }
    return QUOTE_SERVER_SOURCE_MARKET;
}

std::optional<std::vector<Company>> LoadMarket(const ServerOptions& options, std::string& error) {
    const std::string path = options.MarketFile.empty() ? DefaultMarketFile() : options.MarketFile;
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) {
        error = "cannot read market file " + path;
        return std::nullopt;
    }
    std::optional<std::vector<Company>> market = ParseMarket(*text, error);
    if (!market) error = "market file " + path + ": " + error;
    if (market)
        for (int i = 1; i <= options.Generate; ++i) market->push_back(GeneratedCompany(i));
    return market;
}

class RequestLog {
public:
    explicit RequestLog(const ServerOptions& options) : quiet_(options.Quiet) {
        if (!options.LogFile.empty()) file_.open(options.LogFile, std::ios::app);
    }
    void Write(const std::string& line) {
        if (quiet_) return;
        const std::lock_guard<std::mutex> guard(lock_);
        std::ostream& out = file_.is_open() ? static_cast<std::ostream&>(file_) : std::cerr;
        out << line << std::endl;
    }

private:
    bool quiet_;
    std::ofstream file_;
    std::mutex lock_;
};

const char* FaultName(Fault fault) {
    switch (fault) {
    case Fault::Slow: return " (slow)";
    case Fault::Drop: return " (dropped)";
    case Fault::TryAgain: return " (try again)";
    case Fault::Junk: return " (junk)";
    case Fault::Nul: return " (nul)";
    case Fault::Huge: return " (huge)";
    case Fault::CutBody: return " (cut body)";
    case Fault::Hang: return " (hang)";
    case Fault::BadChunk: return " (bad chunk)";
    case Fault::GzipBomb: return " (gzip bomb)";
    case Fault::None: break;
    }
    return "";
}

// Headers, then a byte every tenth of a second for as long as the client listens and the server
// runs: an answer that neither completes nor goes quiet.
void NeverEnd(const httplib::Server& server, httplib::Response& response) {
    response.set_chunked_content_provider("text/html", [&server](std::size_t, httplib::DataSink& sink) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return server.is_running() && sink.write(" ", 1);
    });
}

// The body chunked by hand, since the library frames every chunk correctly: 60 % of the page in
// one chunk, then a chunk-size line that is no hexadecimal number. The provider then fails, which
// closes the connection.
void BreakOffChunked(std::shared_ptr<const std::string> body, httplib::Response& response) {
    response.set_header("Transfer-Encoding", "chunked");
    response.set_content_provider("text/html", [body](std::size_t, httplib::DataSink& sink) {
        const std::string part = body->substr(0, body->size() * 6 / 10);
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", part.size());
        const std::string framed = size + part + "\r\nZZ-not-a-size\r\n";
        sink.write(framed.data(), framed.size());
        return false;
    });
}

void Serve(httplib::Server& server, QuoteService& service, RequestLog& log, int slowMilliseconds) {
    server.Get(".*", [&, slowMilliseconds](const httplib::Request& request, httplib::Response& response) {
        const Answer answer = service.Respond(request.target, request.get_header_value("Authorization"));
        log.Write("GET " + request.target + " " + std::to_string(answer.Status) + FaultName(answer.Injected));
        if (answer.Injected == Fault::Slow)
            std::this_thread::sleep_for(std::chrono::milliseconds(slowMilliseconds));
        if (answer.Injected == Fault::Hang) return NeverEnd(server, response);
        if (answer.Status == 401) response.set_header("WWW-Authenticate", "Basic realm=\"quotes\"");
        response.status = answer.Status;
        // A dropped answer sends its headers only, a cut one half its body; then the connection
        // closes short of the promised length.
        auto body = std::make_shared<const std::string>(answer.Body);
        if (answer.Injected == Fault::BadChunk) return BreakOffChunked(body, response);
        if (answer.Injected == Fault::GzipBomb) response.set_header("Content-Encoding", "gzip");
        const std::size_t sent = answer.Injected == Fault::Drop      ? 0
                                 : answer.Injected == Fault::CutBody ? body->size() / 2
                                                                     : body->size();
        // Handed out through a provider of known length, which the library sends as it stands:
        // compressing a few kilobytes on loopback costs more time than it saves.
        response.set_content_provider(
            body->size(), "text/html",
            [body, sent](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                if (offset >= sent) return false;
                return sink.write(body->data() + offset, std::min(length, sent - offset));
            });
    });
}

// A plain server, or an encrypted one when a certificate is given; nothing when the certificate
// or key cannot be used.
std::unique_ptr<httplib::Server> MakeServer(const ServerOptions& options) {
    if (options.TlsCertificate.empty()) return std::make_unique<httplib::Server>();
    auto server = std::make_unique<httplib::SSLServer>(options.TlsCertificate.c_str(), options.TlsKey.c_str());
    if (!server->is_valid()) return nullptr;
    return server;
}

// SIGINT and SIGTERM stop the server cleanly; they are taken by one thread with sigwait, since a
// signal handler may not call into the server.
void StopOnSignal(httplib::Server& server) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread([&server, signals] {
        int received = 0;
        sigwait(&signals, &received);
        server.stop();
    }).detach();
}

} // namespace

int main(int argc, char** argv) {
    ServerOptions options;
    if (const auto ended = ReadCommandLineOrEnd(ServerUsage, ServerOptionTable(options), {argv + 1, argv + argc}))
        return *ended;
    if (const auto conflict = CheckServerOptions(options)) {
        std::cerr << "quillon-quote-server: " << *conflict << " (see quillon-quote-server --help)\n";
        return 2;
    }
    std::string error;
    const std::optional<LocalDateTime> fixedNow = options.Now;
    std::unique_ptr<QuoteService> service;
    std::optional<ChainMarket> chains; // the service serves it for as long as it runs
    if (!options.ChainsFile.empty()) {
        const ChainFileRequest request{options.ChainsFile, options.Layout, options.Snapshot,
                                       fixedNow ? *fixedNow : SystemNow(), std::nullopt};
        std::string notes;
        auto loaded = LoadChainMarket(request, options.StocksFile, notes);
        std::cerr << notes;
        if (auto* market = std::get_if<ChainMarket>(&loaded)) {
            chains = std::move(*market);
            service = std::make_unique<QuoteService>(options, *chains);
        } else {
            error = std::get<std::string>(loaded);
        }
    } else if (const std::optional<std::vector<Company>> market = LoadMarket(options, error)) {
        service = std::make_unique<QuoteService>(options, *market,
                                                 [fixedNow] { return fixedNow ? *fixedNow : SystemNow(); });
    }
    if (!service) {
        std::cerr << error << "\n";
        return 1;
    }
    RequestLog log(options);
    std::unique_ptr<httplib::Server> serverHolder = MakeServer(options);
    if (!serverHolder) {
        std::cerr << "cannot use the certificate " << options.TlsCertificate << " with the key " << options.TlsKey
                  << "\n";
        return 1;
    }
    httplib::Server& server = *serverHolder;
    // Without it, Nagle's algorithm and delayed acknowledgements hold every answer on a kept-alive
    // connection for tens of milliseconds.
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(10000);
    StopOnSignal(server);
    Serve(server, *service, log, options.Faults.SlowMilliseconds);

    const int port = options.Port == 0 ? server.bind_to_any_port("127.0.0.1")
                                         : (server.bind_to_port("127.0.0.1", options.Port) ? options.Port : -1);
    if (port <= 0) {
        std::cerr << "cannot listen on 127.0.0.1 port " << options.Port << "\n";
        return 1;
    }
    std::cout << port << std::endl;
    std::cout << "Serving " << service->SymbolCount() << " symbols on " << (options.TlsKey.empty() ? "http" : "https")
              << "://127.0.0.1:" << port << "/" << std::endl;
    return server.listen_after_bind() ? 0 : 1;
}
