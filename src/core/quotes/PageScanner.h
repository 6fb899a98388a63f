#pragma once
// Reading quote pages: stripping the markup, finding labels and keywords, and the readers of text
// fields, whole numbers and prices. The readers work at page.PageCursor and leave it behind what
// they consumed. A reader that fails (a number above 2^31-1, a skip that runs off the end of the
// text) returns nothing, so the caller's field keeps its cleared value.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/quotes/PageBuffer.h"

// One text run per line, each followed by CR LF; tags dropped, runs trimmed, entities kept.
// An unclosed "<" drops the rest of the markup; a ">" outside a tag is text.
std::string StripHtmlTags(std::string_view markup);

// Searches the whole text for a line that begins with `label` ("TRADE" matches anywhere, also on
// the first line). Found: the cursor moves to the start of the next non-empty line. Not found: false,
// the cursor is unchanged.
bool FindLabelLine(PageBuffer& page, std::string_view label);

// Searches from the cursor; found: the cursor moves just behind the keyword. Not found: false, the
// cursor is unchanged.
bool FindNextKeyword(PageBuffer& page, std::string_view keyword);

// Skips blanks (codes 0 to 32), then takes characters up to `maximumLength` or the next control
// character, which stays unconsumed. Nothing when only blanks are left.
std::optional<std::string> ReadTextField(PageBuffer& page, int maximumLength);

// Skips fillers (codes below "+"), then takes at most 10 digits; 0 when no digit follows. Nothing
// when only fillers are left or the number exceeds 2^31-1 (its digits are consumed even so).
std::optional<std::int32_t> ReadWholeNumber(PageBuffer& page);

// A price in dollars: '45', '45 3/8', '3/8' or '45.375', optionally signed; text without digits
// ('n/a') reads as 0 and is not consumed. A zero denominator counts as no fraction ('1 1/0' is 1).
// Nothing when the text ends inside the value or a part overflows.
std::optional<float> ReadPriceValue(PageBuffer& page);
