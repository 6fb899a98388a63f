// The option page parser over arbitrary stripped text, for a short and a long stock symbol.

#include <cstdint>
#include <string>

#include "core/quotes/OptionCalendar.h"
#include "core/quotes/QuoteRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const LocalDateTime now{2026, 12, 7, 12, 0, 0};
    for (const char* symbol : {"AB", "ABCD"}) {
        PageBuffer page;
        page.PageText.assign(reinterpret_cast<const char*>(data), size);
        QuoteData quote;
        ClearQuoteRecord(quote, now);
        quote.Strikes = SelectStrikes(47.5f);
        (void)ParseOptionPage(page, quote, symbol, "/dev/null");
    }
    return 0;
}
