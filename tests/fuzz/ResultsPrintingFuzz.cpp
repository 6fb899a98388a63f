// Results printing over any Results.txt and progress record: pages are numbered 1, 2, 3 ... and
// the document is always ended.

#include <cstdint>
#include <string>

#include "FuzzFile.h"
#include "core/report/ResultsPrinting.h"

namespace {

class CountingPrinter final : public Printer {
public:
    void SetFont(const std::string&, int, bool) override {}
    void PrintText(const std::string&, bool) override { ++lines; }
    void NewPage() override { ++pages; }
    void EndDoc() override { ++ended; }
    long lines = 0;
    long pages = 0;
    int ended = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first bytes up to a NUL (if any) are the progress record, the rest is Results.txt.
    std::size_t split = 0;
    while (split < size && data[split] != 0) ++split;
    const FilePaths paths = FilePaths::Build(FuzzScratchDirectory());
    WriteFuzzFile("Progress.---", data, split);
    const std::size_t rest = split < size ? split + 1 : size;
    WriteFuzzFile("Results.txt", data + rest, size - rest);
    CountingPrinter printer;
    std::int16_t savedCount = 0;
    const FixedClock clock(LocalDateTime{2026, 12, 7, 12, 0, 0});
    if (PrintResults(paths, savedCount, printer, clock) && printer.ended != 1) __builtin_trap();
    return 0;
}
