#include "core/run/QuoteFileReader.h"

#include <algorithm>
#include <utility>

#include "core/text/Ascii.h"

namespace {

constexpr std::size_t BufferSize = 64 * 1024;

bool IsLineEnd(int c) { return c == '\r' || c == '\n'; }
bool IsDelimiter(int c) { return c == ',' || IsLineEnd(c); }

} // namespace

QuoteFileReader::~QuoteFileReader() { Close(); }

bool QuoteFileReader::Open(const std::string& path)
{
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    // Some things open like a file and fail at the first read (a directory does on POSIX); they
    // cannot be replayed any more than a missing file, and must not pass for an empty cache.
    if (!Fill() && std::ferror(file_)) {
        Close();
        return false;
    }
    return true;
}

void QuoteFileReader::Close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
    position_ = filled_ = 0;
    afterComma_ = false;
    lookAhead_.clear();
}

bool QuoteFileReader::Fill()
{
    if (!file_) return false;
    buffer_.resize(BufferSize);
    filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    position_ = 0;
    return filled_ > 0;
}

int QuoteFileReader::Peek()
{
    if (position_ == filled_ && !Fill()) return EOF;
    return static_cast<unsigned char>(buffer_[position_]);
}

template <typename Stop>
bool QuoteFileReader::PassUntil(Stop stop, std::string* text)
{
    std::size_t passed = 0;
    while (Peek() != EOF) {
        const char* begin = buffer_.data() + position_;
        const char* end = buffer_.data() + filled_;
        const char* found = std::find_if(begin, end, [&stop](char c) {
            return stop(static_cast<unsigned char>(c));
        });
        const auto count = static_cast<std::size_t>(found - begin);
        if (text && passed + count <= LongestQuoteValue) text->append(begin, count);
        passed += count;
        position_ += count;
        if (found != end) break;
    }
    if (passed <= LongestQuoteValue) return true;
    if (text) std::string().swap(*text); // give the memory back at once
    return false;
}

void QuoteFileReader::PassDelimiter()
{
    const int c = Peek();
    if (c == EOF) return;
    ++position_;
    if (c == ',') {
        afterComma_ = true;
        return;
    }
    if (c == '\r' && Peek() == '\n') ++position_; // CR LF, also across a buffer refill
}

std::optional<RecordValue> QuoteFileReader::ReadValue()
{
    const bool valueFollowsComma = std::exchange(afterComma_, false);
    if (Peek() == EOF && !valueFollowsComma) return std::nullopt;
    (void)PassUntil([](int c) { return !IsRecordBlank(static_cast<char>(c)); }, nullptr);

    RecordValue value;
    bool fits = true;
    if (Peek() == '"') {
        ++position_;
        value.Quoted = true;
        fits = PassUntil([](int c) { return c == '"' || IsLineEnd(c); }, &value.Text);
        if (Peek() == '"') ++position_;
        // Anything between the closing quote and the delimiter is no part of the value.
        (void)PassUntil(IsDelimiter, nullptr);
    } else {
        fits = PassUntil(IsDelimiter, &value.Text);
        const auto last = value.Text.find_last_not_of(" \t");
        value.Text.erase(last == std::string::npos ? 0 : last + 1);
    }
    PassDelimiter();
    if (!fits) return std::nullopt;
    return value;
}

bool QuoteFileReader::AtEnd() { return Peek() == EOF && !afterComma_; }

bool QuoteFileReader::ReadIntoLookAhead()
{
    std::optional<RecordValue> value = ReadValue();
    if (!value) return false;
    lookAhead_ = std::move(value->Text);
    return true;
}
