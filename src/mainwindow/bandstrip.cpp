#include "mainwindow/bandstrip.h"

#include "mainwindow/controls.h"
#include "time/clockentry.h"


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
}

void BandStrip::setTimes(DateTime japan, bool first)
{
    for (int k = 0; k < kClocks; ++k) {
        const DateTime t = bandTime(k, japan);
        QLabel *date = m_labels[size_t(k)];
        QLabel *time = m_labels[size_t(k + kClocks)];
        setLabelText(date, formatDate(t));
        setLabelText(time, formatTime(t));
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
        date->show();
        time->hide();
        moveTw(time, layout.bandLabelLeft(k), layout.bandTimeTop());
        time->show();
    }
}

void BandStrip::appendFaces(std::vector<FaceDrawing> &faces, const MainLayout &layout,
                            const FaceColours &colours, DateTime japan) const
{
    for (int k = 0; k < kClocks; ++k) {
        qint16 radius = 0; // band faces always take the band radius
        faces.push_back(mainFace(layout.bandFaceX(k), layout.bandFaceY(), bandTime(k, japan), radius,
                                 layout.BandRadius, colours));
    }
}

} // namespace tb
