// The replay reader over a whole damaged quote cache, for a fixed sorted symbol list: every read
// ends (no hang), and a failed read never leaves option values of another symbol behind.

#include <cstdint>

#include "FuzzFile.h"
#include "core/run/ReadQuoteRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QuoteFileReader reader;
    if (!reader.Open(WriteFuzzFile("Quote.txt", data, size))) __builtin_trap();
    QuoteData quote;
    const LocalDateTime now{2026, 12, 7, 12, 0, 0};
    for (const char* symbol : {"A", "AB", "ABC", "ABCD", "IBM", "MSFT", "ZZZZZZ"})
        (void)ReadQuoteRecord(reader, quote, symbol, now);
    return 0;
}
