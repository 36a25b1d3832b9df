// Reassembles the first two packets of an Ogg stream from its pages and checks the lengths in
// the Vorbis comment header against the packet that holds them.
#include "audio/vorbis_comment_check.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Packet = std::vector<unsigned char>;

// Appends the first `count` packets of the stream to `packets`; false when the stream ends or
// breaks before they are complete.
bool ReadPackets(std::FILE* file, std::size_t count, std::vector<Packet>& packets) {
    Packet current;
    while (packets.size() < count) {
        unsigned char header[27];
        if (std::fread(header, 1, sizeof header, file) != sizeof header ||
            std::memcmp(header, "OggS", 4) != 0)
            return false;
        unsigned char lacing[255];
        const std::size_t segments = header[26];
        if (std::fread(lacing, 1, segments, file) != segments)
            return false;
        for (std::size_t i = 0; i < segments && packets.size() < count; ++i) {
            const std::size_t size = current.size();
            current.resize(size + lacing[i]);
            if (std::fread(current.data() + size, 1, lacing[i], file) != lacing[i])
                return false;
            if (lacing[i] < 255) {
                packets.push_back(std::move(current));
                current.clear();
            }
        }
    }
    return true;
}

// Reads the comment header's fields, each length within what is left of the packet.
class CommentReader {
public:
    explicit CommentReader(const Packet& packet) : m_packet(packet) {}

    bool Expect(const char* bytes, std::size_t count) {
        if (Left() < count || std::memcmp(&m_packet[m_at], bytes, count) != 0)
            return false;
        m_at += count;
        return true;
    }
    // A 32-bit little-endian count of things at least `unit` bytes each, which must fit.
    bool Count(std::size_t unit, std::uint32_t* value) {
        if (Left() < 4)
            return false;
        const unsigned char* b = &m_packet[m_at];
        *value = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
        m_at += 4;
        return *value <= Left() / unit;
    }
    bool Skip(std::size_t count) {
        if (Left() < count)
            return false;
        m_at += count;
        return true;
    }

private:
    std::size_t Left() const { return m_packet.size() - m_at; }
    const Packet& m_packet;
    std::size_t m_at = 0;
};

bool CommentHeaderFits(const Packet& packet) {
    CommentReader reader(packet);
    std::uint32_t vendor = 0, comments = 0;
    if (!reader.Expect("\x03vorbis", 7) || !reader.Count(1, &vendor) || !reader.Skip(vendor) ||
        !reader.Count(4, &comments))
        return false;
    for (std::uint32_t i = 0; i < comments; ++i) {
        std::uint32_t length = 0;
        if (!reader.Count(1, &length) || !reader.Skip(length))
            return false;
    }
    return reader.Skip(1); // the framing byte
}

} // namespace

bool VorbisCommentsFit(std::FILE* file) {
    const long start = std::ftell(file);
    if (start < 0)
        return false;
    std::vector<Packet> packets;
    const bool fits = ReadPackets(file, 2, packets) && CommentHeaderFits(packets[1]);
    return std::fseek(file, start, SEEK_SET) == 0 && fits;
}
