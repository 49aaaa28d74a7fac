#include "ui/mainwindow/bandstrip.h"

#include "ui/mainwindow/controls.h"
#include "core/time/clockentry.h"
#include "core/time/clocknames.h"
#include "ui/common/clockspot.h"

#include <algorithm>

namespace tb {

BandStrip::BandStrip(QWidget *parent, const QFont &font)
{
    m_labels[0] = makeLabel(parent, QStringLiteral("Label1"), QColor(0, 0, 0), font);
    moveTw(m_labels[0], 630, 6390);
}

void BandStrip::createLabels()
{
    for (size_t i = 1; i < m_labels.size(); ++i) {
        if (m_labels[i])
            continue;
        m_labels[i] = copyLabel(m_labels[0]);
        m_labels[i]->raise();
    }
    for (int k = 0; k < kClocks; ++k)
        if (!m_spots[size_t(k)])
            m_spots[size_t(k)] = new ClockSpot(
                m_labels[0]->parentWidget(), [this, k] { return bandClockName(k, bandTime(k, m_japan)); }, false);
}

void BandStrip::setTimes(DateTime japan, bool first)
{
    m_japan = japan;
    for (int k = 0; k < kClocks; ++k) {
        const DateTime t = bandTime(k, japan);
        QLabel *date = m_labels[size_t(k)];
        QLabel *time = m_labels[size_t(k + kClocks)];
        const bool newDate = setLabelText(date, formatDate(t));
        setLabelText(time, formatTime(t));
        if (newDate && m_laidOut)
            keepWhole(k); // a new date may be wider
        if (first) {
            // Where the design put them; the first layout moves them.
            moveTw(date, 980.0 * k + 400, 7550);
            moveTw(time, 980.0 * k + 400, 6350);
            date->show();
            time->show();
        }
    }
}

void BandStrip::place(const MainLayout &layout)
{
    for (int k = 0; k < kClocks; ++k) {
        QLabel *date = m_labels[size_t(k)];
        QLabel *time = m_labels[size_t(k + kClocks)];
        date->hide();
        moveTw(date, layout.bandLabelLeft(k), layout.bandDateTop());
        m_dateLeft[size_t(k)] = date->x();
        keepWhole(k);
        date->show();
        time->hide();
        moveTw(time, layout.bandLabelLeft(k), layout.bandTimeTop());
        time->show();
        if (ClockSpot *s = m_spots[size_t(k)])
            s->cover(QPointF(twipsToPx(layout.bandFaceX(k)), twipsToPx(layout.bandFaceY())),
                     twipsToPx(layout.bandRadius));
    }
    m_laidOut = true;
}

void BandStrip::announce()
{
    for (ClockSpot *s : m_spots)
        if (s)
            s->announce();
}

void BandStrip::keepWhole(int k)
{
    // The substitute fonts are wider than the design font (a digit of 9 pt
    // takes 7.55 px against 6), so that the last date, which the design left
    // 47 px, runs past the window's edge: it alone moves left as far as needed.
    QLabel *date = m_labels[size_t(k)];
    const int room = date->parentWidget()->width() - date->width();
    date->move(std::max(0, std::min(m_dateLeft[size_t(k)], room)), date->y());
}

void BandStrip::appendFaces(std::vector<FaceDrawing> &faces, const MainLayout &layout,
                            const FaceColours &colours, DateTime japan) const
{
    for (int k = 0; k < kClocks; ++k) {
        qint16 radius = 0; // band faces always take the band radius
        faces.push_back(mainFace(layout.bandFaceX(k), layout.bandFaceY(), bandTime(k, japan), radius,
                                 layout.bandRadius, colours));
    }
}

} // namespace tb
