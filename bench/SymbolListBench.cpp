// Loading the largest symbol list a run takes: 30000 symbols in file order, read, sorted and merged,
// as the run window does before a pass (the steps between which it honours a close request).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>

#include "core/text/TextFile.h"
#include "core/run/SymbolList.h"

namespace {

// 30000 made-up symbols of 1 to 6 characters, shuffled, one per CR LF line, with a few
// lines that carry text after the symbol as hand-kept lists do.
std::string SymbolFileText()
{
    std::mt19937 random(20261206);
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string text;
    for (int i = 0; i < 30000; ++i) {
        std::string symbol(1, alphabet[random() % 26]); // a symbol begins with a letter
        for (std::size_t length = 1 + random() % 6; symbol.size() < length;)
            symbol += alphabet[random() % alphabet.size()];
        text += symbol + (i % 7 == 0 ? " corp\r\n" : "\r\n");
    }
    return text;
}

void LoadThirtyThousandSymbols(benchmark::State& state)
{
    const std::string path = "/tmp/quillon-bench-" + std::to_string(::getpid()) + ".sym";
    if (!ReplaceFile(path, SymbolFileText())) std::abort();
    for (auto _ : state) {
        auto symbols = ReadSymbolFile(path);
        SortSymbols(*symbols);
        MergeDuplicateSymbols(*symbols);
        benchmark::DoNotOptimize(symbols->data());
    }
    std::remove(path.c_str());
}

} // namespace

BENCHMARK(LoadThirtyThousandSymbols)->Unit(benchmark::kMillisecond);
