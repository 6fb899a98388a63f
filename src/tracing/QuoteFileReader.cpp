#include "tracing/QuoteFileReader.h"

namespace {

constexpr std::size_t BufferSize = 64 * 1024;

} // namespace

QuoteFileReader::~QuoteFileReader() { Close(); }

bool QuoteFileReader::Open(const std::string& path)
{
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

void QuoteFileReader::Close()
{
    if (file_) std::fclose(file_);
    file_ = nullptr;
    position_ = filled_ = 0;
    lineValues_.clear();
    nextValue_ = 0;
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

std::optional<std::string> QuoteFileReader::ReadLine()
{
    if (position_ == filled_ && !Fill()) return std::nullopt;
    std::string line;
    for (;;) {
        if (position_ == filled_ && !Fill()) return line; // the last line has no line end
        const char c = buffer_[position_++];
        if (c == '\n') return line;
        if (c == '\r') {
            // CR LF is one line end, also when the LF starts the next buffer.
            if (position_ == filled_ && !Fill()) return line;
            if (buffer_[position_] == '\n') ++position_;
            return line;
        }
        line += c;
    }
}

std::optional<RecordValue> QuoteFileReader::ReadValue()
{
    while (nextValue_ == lineValues_.size()) {
        std::optional<std::string> line = ReadLine();
        if (!line) return std::nullopt;
        // Values never run past a line end, so splitting line by line reads the same values as
        // reading the whole text at once.
        lineValues_ = SplitRecord(*line);
        nextValue_ = 0;
    }
    return std::move(lineValues_[nextValue_++]);
}

bool QuoteFileReader::ReadIntoLookAhead()
{
    std::optional<RecordValue> value = ReadValue();
    if (!value) return false;
    lookAhead_ = std::move(value->Text);
    return true;
}
