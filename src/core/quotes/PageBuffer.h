#pragma once
// The page buffer: a received page, then its stripped text while the parsers read it, and after an
// evaluation the symbol's results block.

#include <cstdint>
#include <string>

struct PageBuffer {
    std::string PageText;
    std::int32_t PageCursor = 1; // 1-based position in PageText; not limited to 16 bits
};
