#pragma once
// What the page parser tests share: a fixed "now", pages prepared as the retrieval prepares them,
// and a quote cache file of their own.

#include <gtest/gtest.h>

#include <string>

#include "core/text/Ascii.h"
#include "core/text/TextFile.h"
#include "core/quotes/Clock.h"
#include "core/quotes/PageBuffer.h"
#include "core/quotes/PageScanner.h"
#include "support/TemporaryDirectory.h"

// A Monday. The trading day is the same date; its expirations are December 19 2026 (calls "L",
// puts "X"), January 16 2027 ("A", "M") and February 20 2027 ("B", "N").
inline constexpr LocalDateTime TestNow{2026, 12, 7, 12, 0, 0};

inline std::string DataFile(const std::string& name)
{
    return std::string(QUILLON_TEST_DATA) + "/pages/" + name;
}

// The retrieval upper-cases a page and strips its markup before the parsers see it.
inline PageBuffer PreparedPage(const std::string& markup)
{
    PageBuffer page;
    page.PageText = StripHtmlTags(AsciiUpper(markup));
    return page;
}

inline PageBuffer PreparedPageFromFile(const std::string& name)
{
    const auto markup = ReadWholeFile(DataFile(name));
    EXPECT_TRUE(markup.has_value()) << name;
    return PreparedPage(markup.value_or(""));
}

// A fresh directory per test with the path of its quote cache.
class QuoteCacheTest : public ::testing::Test {
protected:
    std::string QuoteFile() const { return ReadWholeFile(fnQuote).value_or(""); }

    TemporaryDirectory directory;
    const std::string fnQuote = directory.File("Quote.txt");
};
