#pragma once
// Reads the quote cache value by value without holding the file, or even one of its lines, in
// memory: a cache of 30000 symbols is about 40 MB, a replay pass needs only the value in hand, and a
// damaged cache may hold a line of millions of values.

#include <cstdio>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/text/RecordFormat.h"

// The longest value the reader hands out. A longer one (only a damaged cache holds one) is passed
// over to its end and counts as a failed read, so memory stays bounded whatever the file holds.
inline constexpr std::size_t LongestQuoteValue = 16 * 1024 * 1024;

class QuoteFileReader {
public:
    QuoteFileReader() = default;
    QuoteFileReader(const QuoteFileReader&) = delete;
    QuoteFileReader& operator=(const QuoteFileReader&) = delete;
    ~QuoteFileReader();

    // Opens the file from its start (closing any file open before) and empties the look-ahead.
    // False when it cannot be opened or its first bytes cannot be read (a directory, say); every
    // read then fails.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // The next value of the file, read as RecordReader reads a text: a value ends at a comma outside
    // quotes or at a line end (CR LF, lone CR, lone LF); a quoted value loses its quotes and never
    // runs past a line end. Nothing at the end of the file, on a read error, and for a value longer
    // than LongestQuoteValue (which is passed over, so the next read starts after it).
    std::optional<RecordValue> ReadValue();

    // True when ReadValue has nothing more to give: the end of the file (or a read error) with no
    // value owed after a comma. After a failed ReadValue it tells the end from a value passed over.
    bool AtEnd();

    // The value read last with ReadIntoLookAhead, or kept with KeepInLookAhead, and not consumed yet
    // (typically the stock marker of a later symbol). Empty after Open.
    const std::string& LookAhead() const { return lookAhead_; }
    // Reads the next value into the look-ahead; false (look-ahead unchanged) when ReadValue fails.
    [[nodiscard]] bool ReadIntoLookAhead();
    // Puts a value that was read but belongs to a later reader into the look-ahead.
    void KeepInLookAhead(std::string text) { lookAhead_ = std::move(text); }

private:
    // The character at the read position as an unsigned char, EOF at the end of the file.
    int Peek();
    // Passes over the characters before the first one for which `stop` holds (or the end of the
    // file), appending them to `text` when one is given. False when there were more than
    // LongestQuoteValue of them; `text` is then emptied.
    template <typename Stop>
    bool PassUntil(Stop stop, std::string* text);
    // Passes over the comma or line end that ends a value.
    void PassDelimiter();
    // Refills the buffer; false at the end of the file or on a read error.
    bool Fill();

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    // The last value ended at a comma: one more value follows, even an empty one at the end of the
    // file, as in a line split at its commas.
    bool afterComma_ = false;
    std::string lookAhead_;
};
