#pragma once
// Reading quote pages: stripping the markup, finding labels and keywords, and the readers of text
// fields, whole numbers and prices. The readers work at page.PageCursor and leave it behind what
// they consumed. A reader that fails (a number above 2^31-1, a skip that runs off the end of the
// text) returns nothing, so the caller's field keeps its cleared value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "quotes/PageBuffer.h"

// One text run per line, each followed by CR LF; tags dropped, runs trimmed, entities kept.
std::string StripHtmlTags(std::string_view markup);
bool FindLabelLine(PageBuffer& page, std::string_view label);
bool FindNextKeyword(PageBuffer& page, std::string_view keyword);
std::optional<std::string> ReadTextField(PageBuffer& page, int maximumLength);
std::optional<std::int32_t> ReadWholeNumber(PageBuffer& page);
std::optional<float> ReadPriceValue(PageBuffer& page);
