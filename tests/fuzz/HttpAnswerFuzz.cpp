// However its bytes come in, an answer reads the same: taken whole or in pieces of any size it
// reaches the same stage, status, body and fault, and its body is never longer than its bytes.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/http/HttpAnswerReader.h"

namespace {

HttpAnswerReader ReadInPieces(std::string_view bytes, std::size_t piece)
{
    HttpAnswerReader reader;
    for (std::size_t at = 0; at < bytes.size(); at += piece) reader.Take(bytes.substr(at, piece));
    reader.TakeEnd();
    return reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    // The first byte chooses the size of the pieces; the rest is what the server sent.
    const std::size_t piece = data[0] % 16 + 1;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    HttpAnswerReader whole = ReadInPieces(bytes, bytes.size() + 1);
    HttpAnswerReader pieces = ReadInPieces(bytes, piece);
    if (whole.CurrentStage() != pieces.CurrentStage() || whole.Status() != pieces.Status() ||
        whole.Body() != pieces.Body() || whole.Fault() != pieces.Fault())
        __builtin_trap();
    if (whole.Body().size() > bytes.size()) __builtin_trap();
    return 0;
}
