// The link codec on the desktop: base64url and raw deflate with zlib. (A page decodes its links
// with the browser's own DecompressionStream.)
#include "replay/run_link.h"

#include <zlib.h>

#include <array>

namespace {

constexpr std::string_view kMarker = "#run=";
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

std::string Damaged() {
    return std::string(kRunLinkName) + " is damaged: it does not hold a recording";
}

// base64url without padding into bytes; false on any other character or a length no encoding has.
bool FromBase64Url(std::string_view text, std::string& bytes) {
    std::array<int, 256> values{};
    values.fill(-1);
    for (size_t index = 0; index < kAlphabet.size(); ++index)
        values[static_cast<unsigned char>(kAlphabet[index])] = static_cast<int>(index);
    if (text.size() % 4 == 1)
        return false;
    bytes.reserve(text.size() / 4 * 3 + 2);
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : text) {
        const int value = values[static_cast<unsigned char>(c)];
        if (value < 0)
            return false;
        buffer = (buffer << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<char>((buffer >> bits) & 0xff));
        }
    }
    return true;
}

std::string ToBase64Url(std::string_view bytes) {
    std::string text;
    unsigned buffer = 0;
    int bits = 0;
    for (const char c : bytes) {
        buffer = (buffer << 8) | static_cast<unsigned char>(c);
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            text.push_back(kAlphabet[(buffer >> bits) & 0x3f]);
        }
    }
    if (bits > 0)
        text.push_back(kAlphabet[(buffer << (6 - bits)) & 0x3f]);
    return text;
}

// Raw deflate back into text, stopping one byte past the limit.
ReplayFileText Inflate(const std::string& compressed) {
    z_stream stream{};
    if (inflateInit2(&stream, -15) != Z_OK)
        return {std::nullopt, Damaged()};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::string text;
    std::array<char, 1 << 16> buffer{};
    int result = Z_OK;
    while (result == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(buffer.size());
        result = inflate(&stream, Z_NO_FLUSH);
        const size_t got = buffer.size() - stream.avail_out;
        if (text.size() + got > kReplayFileLimit) {
            inflateEnd(&stream);
            return {std::nullopt, std::string(kRunLinkName) + " holds more than " +
                                      std::to_string(kReplayFileLimit >> 20) +
                                      " MiB, the most a script may be"};
        }
        text.append(buffer.data(), got);
        if (result == Z_BUF_ERROR && got > 0)
            result = Z_OK;
    }
    const bool whole = result == Z_STREAM_END && stream.avail_in == 0;
    inflateEnd(&stream);
    if (!whole)
        return {std::nullopt, Damaged()};
    return {std::move(text), {}};
}

} // namespace

bool IsRunLink(std::string_view argument) {
    return argument.find(kMarker) != std::string_view::npos;
}

ReplayFileText DecodeRunLink(std::string_view link) {
    if (link.size() > kRunLinkLimit)
        return {std::nullopt, std::string(kRunLinkName) + " is longer than " +
                                  std::to_string(kRunLinkLimit) +
                                  " characters, the most a link may be"};
    const size_t marker = link.find(kMarker);
    if (marker == std::string_view::npos)
        return {std::nullopt, Damaged()};
    std::string compressed;
    if (!FromBase64Url(link.substr(marker + kMarker.size()), compressed))
        return {std::nullopt, Damaged()};
    return Inflate(compressed);
}

std::string EncodeRunLink(std::string_view recording) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    std::string compressed(deflateBound(&stream, static_cast<uLong>(recording.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(recording.data()));
    stream.avail_in = static_cast<uInt>(recording.size());
    stream.next_out = reinterpret_cast<Bytef*>(compressed.data());
    stream.avail_out = static_cast<uInt>(compressed.size());
    const bool done = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    compressed.resize(stream.total_out);
    deflateEnd(&stream);
    return done ? std::string(kMarker) + ToBase64Url(compressed) : std::string();
}
