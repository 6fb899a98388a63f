#pragma once
// Reads the quote cache value by value without holding the file in memory: a cache of 30000 symbols
// is about 40 MB, and a replay pass needs only the record in hand.

#include <cstdio>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/RecordFormat.h"

class QuoteFileReader {
public:
    QuoteFileReader() = default;
    QuoteFileReader(const QuoteFileReader&) = delete;
    QuoteFileReader& operator=(const QuoteFileReader&) = delete;
    ~QuoteFileReader();

    // Opens the file from its start (closing any file open before) and empties the look-ahead.
    // False when it cannot be opened; every read then fails.
    [[nodiscard]] bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // The next value of the file. A value ends at a comma outside quotes or at a line end (CR LF,
    // lone CR, lone LF); a quoted value loses its quotes. Nothing at the end of the file or on a
    // read error.
    std::optional<RecordValue> ReadValue();

    // The value read last with ReadIntoLookAhead and not consumed yet (typically the stock marker
    // of a later symbol). Empty after Open.
    const std::string& LookAhead() const { return lookAhead_; }
    // Reads the next value into the look-ahead; false (look-ahead unchanged) at the end of the file.
    [[nodiscard]] bool ReadIntoLookAhead();

private:
    // The next line without its line end; nothing at the end of the file.
    std::optional<std::string> ReadLine();
    // Refills the buffer; false at the end of the file or on a read error.
    bool Fill();

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    std::vector<RecordValue> lineValues_; // the values of the line in hand
    std::size_t nextValue_ = 0;
    std::string lookAhead_;
};
