#pragma once
// An HTTP/1.1 answer read off the connection as its bytes arrive: the status line, the header
// fields, then the body as the head frames it (Content-Length, chunks, or the end of the
// connection). Any fault of the framing breaks the answer as a whole: a chunk size that does not
// read, a line that is no header field, a connection that ends inside the body. A body is only
// ever complete when it arrived complete, never a shorter page that merely looks whole.
//
// The screener asks for its pages as they are (Accept-Encoding: identity), so an answer sent
// compressed anyway, or in a transfer coding other than chunks, is refused as soon as its head is
// read: its body is never inflated.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class HttpAnswerReader {
public:
    enum class Stage {
        Head,      // the status line and header fields are still arriving
        Body,      // the head is read and Status() holds; body bytes are still arriving
        Complete,  // the whole answer is in; bytes after it are ignored
        Malformed, // no HTTP answer, or one refused; Fault() says why
        CutShort,  // the connection ended before the answer did; Fault() says where
    };

    // Takes the next bytes received, in pieces of any size, and returns the stage reached. Once
    // the answer is complete or broken, further bytes change nothing.
    Stage Take(std::string_view bytes);
    // The connection ended. A body framed by the end of the connection completes here; an answer
    // still open in any other way is cut short.
    Stage TakeEnd();

    Stage CurrentStage() const { return stage_; }
    // The HTTP status, from Stage::Body on; 0 before.
    int Status() const { return status_; }
    // The body as received so far, chunk framing removed; whole once Complete.
    std::string& Body() { return body_; }
    const std::string& Fault() const { return fault_; }

private:
    enum class Part { StatusLine, Fields, Sized, ChunkSize, ChunkData, ChunkEnd, Trailer, UntilEnd };

    bool IsOpen() const { return stage_ == Stage::Head || stage_ == Stage::Body; }
    // One step over the bytes not used yet; false when it needs more bytes to go on.
    bool Step();
    std::optional<std::string_view> NextLine();
    void ReadStatusLine(std::string_view line);
    void ReadField(std::string_view line);
    void ReadChunkSize(std::string_view line);
    void EndHead();
    void TakeBodyBytes(Part next);
    void Break(Stage stage, std::string fault);

    Stage stage_ = Stage::Head;
    Part part_ = Part::StatusLine;
    std::string pending_;    // bytes received and not used yet, from used_ on
    std::size_t used_ = 0;
    std::size_t headBytes_ = 0; // of the head (or trailer) so far, to bound it
    int status_ = 0;
    std::optional<std::uint64_t> contentLength_;
    std::string transferCodings_;
    std::string contentCodings_;
    std::uint64_t remaining_ = 0; // of the sized body or of the chunk in hand
    std::string body_;
    std::string fault_;
};
