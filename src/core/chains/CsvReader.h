#pragma once
// Streaming reader of comma-separated files on libcsv (RFC 4180: quoted fields may hold commas,
// doubled quotes and line breaks, as broker exports do). The file is read in blocks and each
// record is handed over as soon as it is complete, so a file of any size costs one record of memory.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct CsvRecord {
    std::vector<std::string_view> Fields; // valid only inside the callback
    long long Line = 0;                   // 1-based line of the file where the record begins
};

// True to go on reading, false to stop after this record.
using CsvRecordHandler = std::function<bool(const CsvRecord&)>;

// Reads the file at `path` and calls `onRecord` for every record; blank lines are no records. An
// error text naming the file when it cannot be read or a field grows beyond a megabyte (an unclosed
// quote swallowing the rest of the file); nothing otherwise.
std::optional<std::string> ReadCsvFile(const std::string& path, const CsvRecordHandler& onRecord);
