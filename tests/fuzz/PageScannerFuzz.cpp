// The tag stripper and every field reader over arbitrary markup: no crash, no hang, and the cursor
// never leaves the text.

#include <cstdint>
#include <string_view>

#include "core/quotes/PageScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view markup(reinterpret_cast<const char*>(data), size);
    PageBuffer page;
    page.PageText = StripHtmlTags(markup);
    const auto cursorInside = [&page] {
        if (page.PageCursor < 1 || page.PageCursor > static_cast<std::int32_t>(page.PageText.size()) + 1)
            __builtin_trap();
    };
    for (const char* label : {"LAST SALE", "TRADE", "VOLUME", "SHARES OUTSTANDING", "BID"}) {
        page.PageCursor = 1;
        if (FindLabelLine(page, label)) {
            cursorInside();
            (void)ReadPriceValue(page);
            cursorInside();
            (void)ReadTextField(page, 36);
            cursorInside();
            (void)ReadWholeNumber(page);
            cursorInside();
        }
    }
    page.PageCursor = 1;
    while (FindNextKeyword(page, " (.")) {
        cursorInside();
        (void)ReadTextField(page, 5);
        for (int i = 0; i < 6; ++i) (void)ReadPriceValue(page);
        cursorInside();
    }
    return 0;
}
