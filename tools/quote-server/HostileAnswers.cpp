#include "HostileAnswers.h"

#include <cstdint>
#include <functional>
#include <random>

#include <zlib.h>

std::string JunkBody(std::string_view symbol) {
    std::mt19937 random(static_cast<std::uint32_t>(std::hash<std::string_view>{}(symbol)));
    std::uniform_int_distribution<int> byte(0, 255);
    std::string junk(64 * 1024, '\0');
    for (char& c : junk) c = static_cast<char>(byte(random));
    return junk;
}

std::string WithNulBehindTags(std::string_view page) {
    std::string spoiled;
    spoiled.reserve(page.size() + page.size() / 8);
    for (const char c : page) {
        spoiled += c;
        if (c == '>') spoiled += '\0';
    }
    return spoiled;
}

std::string Inflated(std::string_view page, std::size_t size) {
    std::string body(page);
    static constexpr std::string_view filler = "<P>Filler paragraph of an answer that does not end soon.</P>\r\n";
    while (body.size() < size) body.append(filler.substr(0, std::min(filler.size(), size - body.size())));
    return body;
}

namespace {

constexpr std::size_t Mebibyte = 1024 * 1024;

// Raw deflate of `input` with the given flush; the output is bounded by deflateBound.
std::string Deflated(z_stream& stream, std::string_view input, int flush) {
    std::string output(deflateBound(&stream, static_cast<uLong>(input.size())) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
    stream.avail_in = static_cast<uInt>(input.size());
    stream.next_out = reinterpret_cast<Bytef*>(output.data());
    stream.avail_out = static_cast<uInt>(output.size());
    deflate(&stream, flush);
    output.resize(output.size() - stream.avail_out);
    return output;
}

void AppendLittleEndian(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

std::string GzipBomb(std::size_t inflatedBytes) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9, Z_DEFAULT_STRATEGY);
    const std::string zeros(Mebibyte, '\0');
    // A full flush empties the history, so the block refers to nothing before it and may follow
    // itself any number of times.
    const std::string block = Deflated(stream, zeros, Z_FULL_FLUSH);
    const std::string end = Deflated(stream, {}, Z_FINISH);
    deflateEnd(&stream);

    const std::size_t blocks = inflatedBytes / Mebibyte;
    const uLong blockCrc = crc32(0, reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uInt>(zeros.size()));
    uLong crc = 0;
    for (std::size_t i = 0; i < blocks; ++i) crc = crc32_combine(crc, blockCrc, static_cast<z_off_t>(Mebibyte));

    std::string bomb("\x1f\x8b\x08\0\0\0\0\0\x02\xff", 10); // gzip header: deflate, no name, no time
    bomb.reserve(bomb.size() + blocks * block.size() + end.size() + 8);
    for (std::size_t i = 0; i < blocks; ++i) bomb += block;
    bomb += end;
    AppendLittleEndian(bomb, static_cast<std::uint32_t>(crc));
    AppendLittleEndian(bomb, static_cast<std::uint32_t>(blocks * Mebibyte)); // size modulo 2^32
    return bomb;
}
