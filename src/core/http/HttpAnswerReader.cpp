#include "core/http/HttpAnswerReader.h"

#include <algorithm>

#include "core/text/Ascii.h"

namespace {

// Far beyond any honest status line, header field or chunk-size line, and beyond any honest head:
// a server that sends more is flooding, not answering.
constexpr std::size_t MaxLineBytes = 8 * 1024;
constexpr std::size_t MaxHeadBytes = 64 * 1024;
// More digits would overflow the size; no page is that long anyway.
constexpr std::size_t MaxSizeDigits = 15;
// A refused coding is named in the fault, shortened to this.
constexpr std::size_t MaxCodingText = 40;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

int HexValue(char c)
{
    if (IsAsciiDigit(c)) return c - '0';
    const char upper = AsciiUpper(c);
    return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

// A decimal Content-Length value; nothing when it does not read.
std::optional<std::uint64_t> LengthValue(std::string_view text)
{
    if (text.empty() || text.size() > MaxSizeDigits) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (!IsAsciiDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// One value, or a list of the same value repeated ("12, 12"), as a proxy may merge them.
std::optional<std::uint64_t> ContentLengthOf(std::string_view field)
{
    std::optional<std::uint64_t> length;
    for (std::size_t start = 0;;) {
        const std::size_t comma = std::min(field.find(',', start), field.size());
        const auto value = LengthValue(Trimmed(field.substr(start, comma - start)));
        if (!value || (length && *length != *value)) return std::nullopt;
        length = value;
        if (comma == field.size()) return length;
        start = comma + 1;
    }
}

void AddToList(std::string& list, std::string_view value)
{
    if (!list.empty()) list += ", ";
    list += value;
}

std::string CodingText(const std::string& codings) { return codings.substr(0, MaxCodingText); }

} // namespace

HttpAnswerReader::Stage HttpAnswerReader::Take(std::string_view bytes)
{
    if (!IsOpen()) return stage_;
    pending_.append(bytes);
    while (IsOpen() && Step()) {
    }
    pending_.erase(0, used_);
    used_ = 0;
    return stage_;
}

HttpAnswerReader::Stage HttpAnswerReader::TakeEnd()
{
    if (!IsOpen()) return stage_;
    if (stage_ == Stage::Head)
        Break(Stage::CutShort, pending_.empty() && headBytes_ == 0 ? "Connection closed without an answer"
                                                                   : "Connection closed inside the answer's head");
    else if (part_ == Part::UntilEnd)
        stage_ = Stage::Complete;
    else if (part_ == Part::Sized)
        Break(Stage::CutShort, "Connection closed after " + std::to_string(body_.size()) + " of " +
                                   std::to_string(*contentLength_) + " bytes");
    else
        Break(Stage::CutShort,
              "Connection closed inside the chunked body after " + std::to_string(body_.size()) + " bytes");
    return stage_;
}

bool HttpAnswerReader::Step()
{
    switch (part_) {
    case Part::Sized:
        TakeBodyBytes(Part::Sized);
        return false;
    case Part::ChunkData:
        TakeBodyBytes(Part::ChunkEnd);
        return used_ < pending_.size();
    case Part::UntilEnd:
        body_.append(pending_, used_);
        used_ = pending_.size();
        return false;
    default:
        break;
    }
    const std::optional<std::string_view> line = NextLine();
    if (!line) return false;
    switch (part_) {
    case Part::StatusLine: ReadStatusLine(*line); break;
    case Part::Fields: ReadField(*line); break;
    case Part::ChunkSize: ReadChunkSize(*line); break;
    case Part::ChunkEnd:
        if (!line->empty()) Break(Stage::Malformed, "Chunk not ended by a line end");
        part_ = Part::ChunkSize;
        break;
    case Part::Trailer:
        // Trailer fields carry nothing the screener reads; they only have to end.
        if (line->empty()) stage_ = Stage::Complete;
        break;
    default: break;
    }
    return true;
}

// The next line without its line end (CR LF, or LF alone as a lenient reader takes it); nothing
// while the line is still incomplete.
std::optional<std::string_view> HttpAnswerReader::NextLine()
{
    const std::size_t end = pending_.find('\n', used_);
    const bool inHead = part_ == Part::StatusLine || part_ == Part::Fields || part_ == Part::Trailer;
    const std::size_t length = (end == std::string::npos ? pending_.size() : end + 1) - used_;
    if (inHead && headBytes_ + length > MaxHeadBytes) {
        Break(Stage::Malformed, "Answer head longer than " + std::to_string(MaxHeadBytes) + " bytes");
        return std::nullopt;
    }
    if (length > MaxLineBytes) {
        Break(Stage::Malformed, "Line longer than " + std::to_string(MaxLineBytes) + " bytes");
        return std::nullopt;
    }
    if (end == std::string::npos) return std::nullopt;
    std::string_view line(pending_.data() + used_, end - used_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    used_ = end + 1;
    if (inHead) headBytes_ += length;
    return line;
}

// "HTTP/1.1 200 OK": the version, three digits, and a reason that may be empty or missing.
void HttpAnswerReader::ReadStatusLine(std::string_view line)
{
    const bool reads = line.size() >= 12 && line.substr(0, 7) == "HTTP/1." && IsAsciiDigit(line[7]) &&
                       line[8] == ' ' && IsAsciiDigit(line[9]) && IsAsciiDigit(line[10]) &&
                       IsAsciiDigit(line[11]) && (line.size() == 12 || line[12] == ' ') && line[9] != '0';
    if (!reads) return Break(Stage::Malformed, "No HTTP status line");
    status_ = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    part_ = Part::Fields;
}

void HttpAnswerReader::ReadField(std::string_view line)
{
    if (line.empty()) return EndHead();
    const std::size_t colon = line.find(':');
    const std::string_view name = line.substr(0, colon);
    // A blank before the colon or a continued (folded) line could make two readers of one answer
    // see two different heads.
    if (colon == std::string_view::npos || name.empty() || std::any_of(name.begin(), name.end(), IsBlank))
        return Break(Stage::Malformed, "Malformed header line");
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (EqualsIgnoringAsciiCase(name, "Content-Length")) {
        const std::optional<std::uint64_t> length = ContentLengthOf(value);
        if (!length || (contentLength_ && *contentLength_ != *length))
            return Break(Stage::Malformed, "Invalid Content-Length");
        contentLength_ = length;
    } else if (EqualsIgnoringAsciiCase(name, "Transfer-Encoding")) {
        AddToList(transferCodings_, value);
    } else if (EqualsIgnoringAsciiCase(name, "Content-Encoding")) {
        if (!EqualsIgnoringAsciiCase(value, "identity")) AddToList(contentCodings_, value);
    }
}

void HttpAnswerReader::EndHead()
{
    if (status_ < 200) {
        // An interim answer ("100 Continue"): the real one follows.
        status_ = 0;
        contentLength_.reset();
        transferCodings_.clear();
        contentCodings_.clear();
        part_ = Part::StatusLine;
        return;
    }
    if (!contentCodings_.empty())
        return Break(Stage::Malformed, "Compressed answer refused (" + CodingText(contentCodings_) + ")");
    const bool chunked = EqualsIgnoringAsciiCase(transferCodings_, "chunked");
    if (!transferCodings_.empty() && !chunked)
        return Break(Stage::Malformed, "Transfer coding refused (" + CodingText(transferCodings_) + ")");
    stage_ = Stage::Body;
    if (status_ == 204 || status_ == 304) {
        stage_ = Stage::Complete;
    } else if (chunked) {
        // Chunks frame the body even where a Content-Length says otherwise.
        contentLength_.reset();
        part_ = Part::ChunkSize;
    } else if (contentLength_) {
        remaining_ = *contentLength_;
        part_ = Part::Sized;
        if (remaining_ == 0) stage_ = Stage::Complete;
    } else {
        part_ = Part::UntilEnd;
    }
}

// "1a2b", then chunk extensions after a ";" that carry nothing the screener reads.
void HttpAnswerReader::ReadChunkSize(std::string_view line)
{
    std::size_t digits = 0;
    std::uint64_t size = 0;
    for (; digits < line.size() && HexValue(line[digits]) >= 0; ++digits)
        size = size * 16 + static_cast<std::uint64_t>(HexValue(line[digits]));
    const std::string_view rest = Trimmed(line.substr(digits));
    if (digits == 0 || digits > MaxSizeDigits || (!rest.empty() && rest.front() != ';'))
        return Break(Stage::Malformed, "Malformed chunk size line");
    remaining_ = size;
    part_ = size == 0 ? Part::Trailer : Part::ChunkData;
    if (size == 0) headBytes_ = 0; // the trailer is bounded as a head of its own
}

void HttpAnswerReader::TakeBodyBytes(Part next)
{
    const std::size_t taken =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, pending_.size() - used_));
    body_.append(pending_, used_, taken);
    used_ += taken;
    remaining_ -= taken;
    if (remaining_ != 0) return;
    if (part_ == Part::Sized) stage_ = Stage::Complete;
    part_ = next;
}

void HttpAnswerReader::Break(Stage stage, std::string fault)
{
    stage_ = stage;
    fault_ = std::move(fault);
}
