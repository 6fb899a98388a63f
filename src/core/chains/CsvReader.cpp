#include "core/chains/CsvReader.h"

#include <csv.h>

#include <cstdio>
#include <memory>
#include <utility>

namespace {

constexpr std::size_t BlockBytes = 1 << 16;
constexpr std::size_t MaxFieldBytes = 1 << 20;

// Line breaks inside a quoted field: CR LF, lone CR and lone LF count one each.
long long LineBreaksIn(std::string_view text)
{
    long long breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++breaks;
    return breaks;
}

// Collects the fields of the record in progress and counts lines across records. libcsv reports
// every line end outside a record (CSV_REPALL_NL) as an empty record, which is how blank lines and
// the LF of a CR LF pair are told apart.
class RecordCollector {
public:
    explicit RecordCollector(const CsvRecordHandler& onRecord) : onRecord_(onRecord) {}

    static void OnField(void* text, std::size_t length, void* self)
    {
        auto& collector = *static_cast<RecordCollector*>(self);
        collector.spans_.emplace_back(collector.text_.size(), length);
        collector.text_.append(static_cast<const char*>(text), length);
    }

    static void OnRecordEnd(int terminator, void* self)
    {
        static_cast<RecordCollector*>(self)->EndRecord(terminator);
    }

    bool Stopped() const { return stopped_; }
    long long Line() const { return line_; }

private:
    void EndRecord(int terminator)
    {
        const bool lineEnd = terminator == '\r' || terminator == '\n';
        if (spans_.empty()) {
            if (!(terminator == '\n' && afterCr_)) line_ += lineEnd ? 1 : 0;
            afterCr_ = terminator == '\r';
            return;
        }
        if (!stopped_) {
            record_.Fields.clear();
            for (const auto& [start, length] : spans_) record_.Fields.emplace_back(text_.data() + start, length);
            record_.Line = line_;
            stopped_ = !onRecord_(record_);
        }
        line_ += LineBreaksIn(text_) + (lineEnd ? 1 : 0);
        afterCr_ = terminator == '\r';
        spans_.clear();
        text_.clear();
    }

    const CsvRecordHandler& onRecord_;
    std::string text_;
    std::vector<std::pair<std::size_t, std::size_t>> spans_;
    CsvRecord record_;
    long long line_ = 1;
    bool afterCr_ = false;
    bool stopped_ = false;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct ParserFreer {
    void operator()(csv_parser* parser) const { csv_free(parser); }
};

} // namespace

std::optional<std::string> ReadCsvFile(const std::string& path, const CsvRecordHandler& onRecord)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return "Cannot open " + path + " for input.";
    csv_parser parserStorage{};
    if (csv_init(&parserStorage, CSV_REPALL_NL) != 0) return "Cannot read " + path + ": out of memory.";
    const std::unique_ptr<csv_parser, ParserFreer> parser(&parserStorage);
    RecordCollector collector(onRecord);
    std::vector<char> block(BlockBytes);
    while (!collector.Stopped()) {
        const std::size_t read = std::fread(block.data(), 1, block.size(), file.get());
        if (read == 0) break;
        if (csv_parse(parser.get(), block.data(), read, RecordCollector::OnField, RecordCollector::OnRecordEnd,
                      &collector) != read)
            return "Cannot read " + path + ": " + csv_strerror(csv_error(parser.get())) + ".";
        if (parser->entry_pos > MaxFieldBytes)
            return path + " line " + std::to_string(collector.Line()) +
                   ": a field runs on beyond a megabyte (a quote that is never closed?); the file is not read.";
    }
    if (std::ferror(file.get())) return "Cannot read " + path + ".";
    csv_fini(parser.get(), RecordCollector::OnField, RecordCollector::OnRecordEnd, &collector);
    return std::nullopt;
}
