#pragma once
// What decoding a picture will hold in memory, told from its header before a
// pixel is decoded: a file of a few hundred bytes may declare gigabytes.
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace tb {

// The most memory one decode may hold at its peak: a 10000 × 10000 picture
// in full colour with room to spare, far below what would make the computer swap.
constexpr qint64 kMaxDecodeBytes = qint64(512) << 20;

// What a JPEG's frame header and first scan say about its decoding.
struct JpegLayout {
    bool valid = false;
    // A progressive JPEG, or one whose first scan carries only some of its
    // colours, is decoded from a buffer of every coefficient at full size
    // (2 bytes a sample), whatever size it is decoded at.
    bool fullBuffer = false;
    qint64 coefficientBytes = 0;
};
JpegLayout jpegLayout(const uchar *data, qint64 size);

// What a PNG's header says: 16-bit samples and interlacing change its route.
struct PngLayout {
    bool valid = false;
    int bitDepth = 0;
    bool interlaced = false;
};
PngLayout pngLayout(const QByteArray &head);

// How a picture is decoded.
enum class DecodeRoute {
    Qt,      // Qt's reader (JPEG at a reduced size), then made full colour at the size asked for
    DeepPng, // a 16-bit PNG: made 8-bit as each row is read, reduced row by row
};

struct DecodePlan {
    DecodeRoute route = DecodeRoute::Qt;
    qint64 bytes = 0; // held at the peak: the decoded picture, buffers and the result
};

// `stored` is the picture's size as stored, `want` the size asked for (as
// stored, no larger), `decoded` the size Qt's reader decodes at and
// `decodedFormat` its pixel format there.
DecodePlan planDecode(const QSize &stored, const QSize &want, const QSize &decoded,
                      QImage::Format decodedFormat, const JpegLayout &jpeg, const PngLayout &png);

} // namespace tb
