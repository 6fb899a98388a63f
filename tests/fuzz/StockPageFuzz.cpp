// The stock page parser over arbitrary stripped text: no crash, and a page it accepts always has a
// usable last sale.

#include <cstdint>
#include <string>

#include "core/quotes/QuoteRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PageBuffer page;
    page.PageText.assign(reinterpret_cast<const char*>(data), size);
    QuoteData quote;
    const LocalDateTime now{2026, 12, 7, 12, 0, 0};
    if (ParseStockPage(page, quote, "ABCD", "/dev/null", now) && !(quote.Stock.LastSale >= 0.125f))
        __builtin_trap();
    return 0;
}
