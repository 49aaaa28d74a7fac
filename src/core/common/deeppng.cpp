#include "core/common/deeppng.h"

#include "core/common/rowreducer.h"

#include <png.h>

#include <csetjmp>
#include <memory>
#include <vector>

namespace tb {

namespace {

void readFromDevice(png_structp png, png_bytep data, png_size_t length)
{
    auto *device = static_cast<QIODevice *>(png_get_io_ptr(png));
    if (device->read(reinterpret_cast<char *>(data), qint64(length)) != qint64(length))
        png_error(png, "cut off");
}

void quiet(png_structp, png_const_charp) {}

// Everything the decode changes lives here, outside the frame that setjmp
// returns to, so a libpng error leaves it in a defined state.
struct Decode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::unique_ptr<RowReducer> reducer;
    std::vector<QRgb> row;
    QImage whole; // an interlaced picture, complete only after its last pass
    ~Decode() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

void premultiply(QRgb *row, int width)
{
    for (int x = 0; x < width; ++x) {
        if (qAlpha(row[x]) != 255) // most pictures are opaque, or nearly
            row[x] = qPremultiply(row[x]);
    }
}

} // namespace

QImage readDeepPng(QIODevice &device, const QSize &to)
{
    if (!device.seek(0))
        return QImage();
    auto d = std::make_unique<Decode>();
    d->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quiet, quiet);
    if (!d->png)
        return QImage();
    d->info = png_create_info_struct(d->png);
    if (!d->info)
        return QImage();
    if (setjmp(png_jmpbuf(d->png)))
        return QImage();
    png_set_read_fn(d->png, &device, readFromDevice);
    png_read_info(d->png, d->info);
    const int width = int(png_get_image_width(d->png, d->info));
    const int height = int(png_get_image_height(d->png, d->info));
    const int colour = png_get_color_type(d->png, d->info);
    const bool alpha = (colour & PNG_COLOR_MASK_ALPHA) || png_get_valid(d->png, d->info, PNG_INFO_tRNS);
    // To 8-bit B, G, R, A in memory: Qt's ARGB32 on a little-endian machine.
    png_set_expand(d->png);
    png_set_scale_16(d->png);
    png_set_gray_to_rgb(d->png);
    if (!alpha)
        png_set_filler(d->png, 0xFF, PNG_FILLER_AFTER);
    if (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
        png_set_bgr(d->png);
    else
        png_set_swap_alpha(d->png);
    const int passes = png_set_interlace_handling(d->png);
    png_read_update_info(d->png, d->info);
    if (width <= 0 || height <= 0 || png_get_rowbytes(d->png, d->info) != size_t(width) * 4)
        return QImage();
    d->reducer = std::make_unique<RowReducer>(QSize(width, height), to, alpha);
    if (d->reducer->isNull())
        return QImage();
    if (passes > 1) {
        d->whole = QImage(width, height, QImage::Format_ARGB32);
        if (d->whole.isNull())
            return QImage();
        d->whole.fill(0);
        for (int pass = 0; pass < passes; ++pass)
            for (int y = 0; y < height; ++y)
                png_read_row(d->png, d->whole.scanLine(y), nullptr);
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(d->whole.scanLine(y));
            if (alpha)
                premultiply(line, width);
            d->reducer->addRow(line);
        }
    } else {
        d->row.resize(size_t(width));
        for (int y = 0; y < height; ++y) {
            png_read_row(d->png, reinterpret_cast<png_bytep>(d->row.data()), nullptr);
            if (alpha)
                premultiply(d->row.data(), width);
            d->reducer->addRow(d->row.data());
        }
    }
    return d->reducer->result();
}

} // namespace tb
