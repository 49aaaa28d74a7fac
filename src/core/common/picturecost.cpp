#include "core/common/picturecost.h"

#include <algorithm>

namespace tb {

namespace {

int be16(const uchar *p) { return (p[0] << 8) | p[1]; }
quint32 be32(const uchar *p) { return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | p[3]; }
qint64 area(const QSize &s) { return qint64(std::max(0, s.width())) * std::max(0, s.height()); }
qint64 roundUp(qint64 v, int m) { return (v + m - 1) / m * m; }

int bytesPerPixel(QImage::Format format)
{
    const int bits = QImage::toPixelFormat(format).bitsPerPixel();
    return bits > 0 ? (bits + 7) / 8 : 4;
}

} // namespace

JpegLayout jpegLayout(const uchar *data, qint64 size)
{
    JpegLayout layout;
    if (!data || size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return layout;
    int width = 0, height = 0, components = 0;
    int h[4] = {}, v[4] = {};
    bool progressive = false;
    qint64 i = 2;
    while (i + 3 < size) {
        if (data[i] != 0xFF)
            return layout;
        const int marker = data[i + 1];
        if (marker == 0xFF) { // fill byte
            ++i;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) { // no length
            i += 2;
            continue;
        }
        if (marker == 0xD9)
            return layout;
        const int length = be16(data + i + 2);
        const uchar *seg = data + i + 4;
        if (length < 2 || i + 2 + length > size)
            return layout;
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof && length >= 8) {
            progressive = marker != 0xC0 && marker != 0xC1 && marker != 0xC9;
            height = be16(seg + 1);
            width = be16(seg + 3);
            components = std::min<int>(seg[5], (length - 8) / 3);
            for (int c = 0; c < components && c < 4; ++c) {
                h[c] = std::max(1, seg[7 + 3 * c] >> 4);
                v[c] = std::max(1, seg[7 + 3 * c] & 15);
            }
        } else if (marker == 0xDA && components > 0 && length >= 3) {
            const int inScan = seg[0];
            layout.valid = true;
            layout.fullBuffer = progressive || inScan < components;
            const int hMax = *std::max_element(h, h + std::min(components, 4));
            const int vMax = *std::max_element(v, v + std::min(components, 4));
            for (int c = 0; c < components && c < 4; ++c) {
                // As libjpeg sizes each component's block array.
                const qint64 wBlocks = (qint64(width) * h[c] + hMax * 8 - 1) / (hMax * 8);
                const qint64 hBlocks = (qint64(height) * v[c] + vMax * 8 - 1) / (vMax * 8);
                layout.coefficientBytes += roundUp(wBlocks, h[c]) * roundUp(hBlocks, v[c]) * 64 * 2;
            }
            return layout;
        }
        i += 2 + length;
    }
    return layout;
}

PngLayout pngLayout(const QByteArray &head)
{
    PngLayout layout;
    static const char signature[] = "\x89PNG\r\n\x1a\n";
    if (head.size() < 29 || !head.startsWith(QByteArray(signature, 8)) || head.mid(12, 4) != "IHDR")
        return layout;
    const auto *p = reinterpret_cast<const uchar *>(head.constData());
    if (be32(p + 16) == 0 || be32(p + 20) == 0)
        return layout;
    layout.valid = true;
    layout.bitDepth = p[24];
    layout.interlaced = p[28] != 0;
    return layout;
}

DecodePlan planDecode(const QSize &stored, const QSize &want, const QSize &decoded,
                      QImage::Format decodedFormat, const JpegLayout &jpeg, const PngLayout &png)
{
    DecodePlan plan;
    const qint64 result = area(want) * 4;
    if (png.valid && png.bitDepth == 16) {
        plan.route = DecodeRoute::DeepPng;
        // One row as read and its sums; an interlaced picture is whole only
        // after its last pass, so it is held whole, at 8 bits.
        plan.bytes = result + qint64(stored.width()) * 48 + (png.interlaced ? area(stored) * 4 : 0);
        return plan;
    }
    // Qt's reader holds the decoded picture; a full-colour one is turned into
    // our format where it lies, others are reduced or converted row by row.
    const bool inPlace = bytesPerPixel(decodedFormat) == 4 && decoded == want;
    plan.bytes = area(decoded) * bytesPerPixel(decodedFormat) + (inPlace ? 0 : result);
    if (jpeg.valid && jpeg.fullBuffer)
        plan.bytes += jpeg.coefficientBytes;
    return plan;
}

} // namespace tb
