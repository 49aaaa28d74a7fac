#pragma once
// Reduces a picture row by row, so that only the reduced picture is ever held
// whole: each pixel of the result is the average of the area it covers.
#include <QImage>
#include <QSize>
#include <vector>

namespace tb {

class RowReducer {
public:
    // `from` is the picture's size, `to` the result's (no larger on either
    // side); rows come in premultiplied ARGB32, top to bottom.
    RowReducer(const QSize &from, const QSize &to, bool alpha);
    bool isNull() const { return m_out.isNull(); }
    void addRow(const QRgb *row);
    // Complete once every row is in.
    QImage result() const { return m_out; }

private:
    void emitRow(int y);
    QSize m_from;
    QSize m_to;
    QImage m_out;
    int m_row = 0; // next source row
    // Per source column: its first result column and the weights in it and the next.
    struct Column {
        int first;
        quint32 weight;
        quint32 nextWeight;
    };
    std::vector<Column> m_columns;
    std::vector<quint64> m_line;      // the current source row reduced across: weighted sums
    std::vector<quint64> m_sums[2];   // result rows m_first and m_first + 1
    int m_first = 0;
};

// A copy of `image` (any format) at `to` in premultiplied ARGB32 (RGB32 when
// it has no alpha), converted one row at a time.
QImage reducedByRows(const QImage &image, const QSize &to);

} // namespace tb
