#include "core/common/rowreducer.h"

#include <algorithm>

namespace tb {

RowReducer::RowReducer(const QSize &from, const QSize &to, bool alpha)
    : m_from(from), m_to(to)
{
    if (from.isEmpty() || to.isEmpty() || to.width() > from.width() || to.height() > from.height())
        return;
    m_out = QImage(to, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (m_out.isNull())
        return;
    // Source pixel x covers [x·to, (x+1)·to) and result pixel j covers
    // [j·from, (j+1)·from) on one scale: the overlap is the weight. A source
    // pixel is never wider than a result pixel, so it touches at most two.
    const qint64 iw = from.width(), ow = to.width();
    m_columns.resize(size_t(iw));
    for (qint64 x = 0; x < iw; ++x) {
        const qint64 start = x * ow, end = start + ow;
        const qint64 j = start / iw;
        const qint64 border = (j + 1) * iw;
        m_columns[size_t(x)] = { int(j), quint32(std::min(end, border) - start),
                                 quint32(end > border ? end - border : 0) };
    }
    m_line.assign(size_t(to.width()) * 4 + 4, 0); // one spare: a last weight of 0 lands there
    m_sums[0].assign(m_line.size(), 0);
    m_sums[1].assign(m_line.size(), 0);
}

void RowReducer::addRow(const QRgb *row)
{
    if (m_out.isNull() || m_row >= m_from.height())
        return;
    std::fill(m_line.begin(), m_line.end(), 0);
    const int iw = m_from.width();
    for (int x = 0; x < iw; ++x) {
        const QRgb p = row[x];
        const Column &col = m_columns[size_t(x)];
        quint64 *sum = &m_line[size_t(col.first) * 4];
        const quint64 a = qAlpha(p), r = qRed(p), g = qGreen(p), b = qBlue(p);
        sum[0] += a * col.weight;
        sum[1] += r * col.weight;
        sum[2] += g * col.weight;
        sum[3] += b * col.weight;
        sum[4] += a * col.nextWeight;
        sum[5] += r * col.nextWeight;
        sum[6] += g * col.nextWeight;
        sum[7] += b * col.nextWeight;
    }
    const qint64 ih = m_from.height(), oh = m_to.height();
    const qint64 start = m_row * oh, end = start + oh;
    const qint64 border = (qint64(m_first) + 1) * ih;
    const quint64 w0 = quint64(std::min(end, border) - start);
    const quint64 w1 = end > border ? quint64(end - border) : 0;
    for (size_t i = 0; i < m_line.size(); ++i) {
        m_sums[0][i] += m_line[i] * w0;
        if (w1)
            m_sums[1][i] += m_line[i] * w1;
    }
    ++m_row;
    while (m_first < m_to.height() && qint64(m_row) * oh >= (qint64(m_first) + 1) * ih) {
        emitRow(m_first);
        std::swap(m_sums[0], m_sums[1]);
        std::fill(m_sums[1].begin(), m_sums[1].end(), 0);
        ++m_first;
    }
}

void RowReducer::emitRow(int y)
{
    const quint64 total = quint64(m_from.width()) * quint64(m_from.height());
    auto *out = reinterpret_cast<QRgb *>(m_out.scanLine(y));
    const std::vector<quint64> &s = m_sums[0];
    for (int x = 0; x < m_to.width(); ++x) {
        const quint64 *c = &s[size_t(x) * 4];
        out[x] = qRgba(int((c[1] + total / 2) / total), int((c[2] + total / 2) / total),
                       int((c[3] + total / 2) / total), int((c[0] + total / 2) / total));
    }
}

QImage reducedByRows(const QImage &image, const QSize &to)
{
    const bool alpha = image.hasAlphaChannel();
    const QImage::Format format = alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    RowReducer reducer(image.size(), to, alpha);
    if (reducer.isNull())
        return QImage();
    // A band of rows at a time: each conversion has its cost, and a band of a
    // 10000-pixel-wide picture is still only a few megabytes.
    constexpr int kBand = 64;
    for (int y = 0; y < image.height(); y += kBand) {
        const int rows = std::min(kBand, image.height() - y);
        const QImage band = image.format() == format ? image : image.copy(0, y, image.width(), rows).convertToFormat(format);
        const int first = image.format() == format ? y : 0;
        for (int r = 0; r < rows; ++r)
            reducer.addRow(reinterpret_cast<const QRgb *>(band.constScanLine(first + r)));
    }
    return reducer.result();
}

} // namespace tb
