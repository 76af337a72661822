#include "deflate.h"

#include "bytes.h"

#include <algorithm>
#include <array>

namespace velmora {

namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr std::size_t kWindow = 32768;

// Base values and extra-bit counts of the length codes 257..285 and of the
// distance codes 0..29.
constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                                       15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The code whose base is the largest not above value.
template <std::size_t N>
std::size_t codeFor(const std::array<std::uint16_t, N> &bases, std::size_t value)
{
    return static_cast<std::size_t>(std::upper_bound(bases.begin(), bases.end(), value) - bases.begin()) - 1;
}

// Writes bits least significant first, as deflate packs everything but the
// Huffman codes themselves.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t> &out) : out_(out) {}

    void bits(std::uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i) {
            if (used_ == 0)
                out_.push_back(0);
            out_.back() |= static_cast<std::uint8_t>(((value >> i) & 1u) << used_);
            used_ = (used_ + 1) % 8;
        }
    }

    // Huffman codes go most significant bit first.
    void code(std::uint32_t value, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            bits((value >> i) & 1u, 1);
    }

    // The fixed literal/length code of RFC 1951, section 3.2.6.
    void symbol(int s)
    {
        if (s < 144)
            code(0x30 + s, 8);
        else if (s < 256)
            code(0x190 + s - 144, 9);
        else if (s < 280)
            code(s - 256, 7);
        else
            code(0xC0 + s - 280, 8);
    }

    void match(std::size_t length, std::size_t distance)
    {
        const std::size_t lengthCode = codeFor(kLengthBase, length);
        symbol(257 + static_cast<int>(lengthCode));
        bits(static_cast<std::uint32_t>(length - kLengthBase[lengthCode]), kLengthExtra[lengthCode]);
        const std::size_t distanceCode = codeFor(kDistanceBase, distance);
        code(static_cast<std::uint32_t>(distanceCode), 5);
        bits(static_cast<std::uint32_t>(distance - kDistanceBase[distanceCode]),
             kDistanceExtra[distanceCode]);
    }

private:
    std::vector<std::uint8_t> &out_;
    int used_ = 0;
};

std::size_t matchLength(std::span<const std::uint8_t> data, std::size_t at, std::size_t distance)
{
    const std::size_t limit = std::min(kMaxMatch, data.size() - at);
    std::size_t length = 0;
    while (length < limit && data[at + length] == data[at + length - distance])
        ++length;
    return length;
}

} // namespace

std::vector<std::uint8_t> zlibCompress(std::span<const std::uint8_t> data,
                                       std::initializer_list<std::size_t> distances)
{
    // Deflate with a 32 KiB window, no preset dictionary; 0x7801 is a multiple of 31.
    std::vector<std::uint8_t> out = {0x78, 0x01};
    BitWriter writer(out);
    writer.bits(1, 1); // the last block
    writer.bits(1, 2); // fixed Huffman codes
    for (std::size_t at = 0; at < data.size();) {
        std::size_t bestLength = 0;
        std::size_t bestDistance = 0;
        for (std::size_t distance : distances) {
            if (distance == 0 || distance > at || distance > kWindow)
                continue;
            const std::size_t length = matchLength(data, at, distance);
            if (length > bestLength) {
                bestLength = length;
                bestDistance = distance;
            }
        }
        if (bestLength >= kMinMatch) {
            writer.match(bestLength, bestDistance);
            at += bestLength;
        } else {
            writer.symbol(data[at]);
            ++at;
        }
    }
    writer.symbol(256); // end of block
    appendBigEndian32(out, adler32(data));
    return out;
}

std::uint32_t adler32(std::span<const std::uint8_t> data)
{
    constexpr std::uint32_t kModulus = 65521;
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

} // namespace velmora
