// The tick's partial drawing against the whole repaint it stands for: after
// every second the two surfaces must be the same to the last bit, including
// the antialiased rims that darken over the first ticks, faces that overlap,
// hands that move each minute, colours that change by the hour or by hand,
// faces that move, appear and go, and surfaces that are cleared.
#include "core/face/facecanvas.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace tb;

namespace {
struct Place {
    double x, y; // twips
    qint16 radius;
};

std::vector<FaceDrawing> facesAt(const std::vector<Place> &places, DateTime t, const FaceColours &colours)
{
    std::vector<FaceDrawing> faces;
    for (size_t i = 0; i < places.size(); ++i) {
        qint16 r = places[i].radius;
        // Each face a few minutes and seconds apart, as zones with odd offsets are.
        faces.push_back(mainFace(places[i].x, places[i].y, addSeconds(t, 437.0 * double(i)), r, 440, colours));
    }
    return faces;
}

QImage blank(qreal dpr = 1) // the size of a small window, in its own format
{
    QImage s(QSize(300, 200) * dpr, QImage::Format_ARGB32_Premultiplied);
    s.setDevicePixelRatio(dpr);
    s.fill(Qt::transparent);
    return s;
}

void paintWhole(QImage &s, const std::vector<FaceDrawing> &faces)
{
    QPainter p(&s);
    for (const FaceDrawing &f : faces)
        paintFace(p, f, Qt::black);
}

// Pixels of `b` that differ from `a` and lie outside `region` (logical pixels).
int changedOutside(const QImage &a, const QImage &b, const QRegion &region)
{
    const int dpr = int(a.devicePixelRatio());
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && !region.contains(QPoint(x / dpr, y / dpr)))
                ++n;
    return n;
}
} // namespace

class TestFaceCanvas : public QObject {
    Q_OBJECT
private slots:
    void sameAsWholeRepaint_data();
    void sameAsWholeRepaint();
    void settlesToTheMarkerOnly();
};

void TestFaceCanvas::sameAsWholeRepaint_data()
{
    QTest::addColumn<std::vector<Place>>("places");
    QTest::addColumn<QTime>("start");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("event"); // 0 none, 1 colours, 2 move face 0, 3 one face less, 4 clear
    QTest::addColumn<qreal>("dpr");

    const std::vector<Place> apart = { { 700, 700, 440 }, { 2000, 700, 440 }, { 3300, 900, 440 },
                                       { 700, 2200, 440 }, { 2000, 2200, 440 } };
    const std::vector<Place> overlapping = { { 900, 900, 600 }, { 1500, 1100, 600 }, { 1800, 1500, 440 } };
    const std::vector<Place> sizes = { { 600, 600, 180 }, { 1400, 600, 250 }, { 2400, 800, 300 },
                                       { 3600, 1000, 600 }, { 800, 2300, 40 }, { 1700, 2300, 25 } };
    QTest::newRow("apart, over an hour and a band") << apart << QTime(9, 58, 50) << 3800 << 0 << 1.0;
    QTest::newRow("overlapping, over ten minutes") << overlapping << QTime(23, 55, 30) << 600 << 0 << 1.0;
    QTest::newRow("every size, over ten minutes") << sizes << QTime(5, 59, 0) << 600 << 0 << 1.0;
    QTest::newRow("colours registered") << apart << QTime(12, 0, 0) << 300 << 1 << 1.0;
    QTest::newRow("face dragged") << overlapping << QTime(12, 0, 0) << 300 << 2 << 1.0;
    QTest::newRow("clock deleted") << overlapping << QTime(12, 0, 0) << 300 << 3 << 1.0;
    QTest::newRow("surface cleared") << sizes << QTime(12, 0, 0) << 300 << 4 << 1.0;
    QTest::newRow("twice the pixels, face dragged") << overlapping << QTime(12, 0, 0) << 300 << 2 << 2.0;
}

void TestFaceCanvas::sameAsWholeRepaint()
{
    QFETCH(std::vector<Place>, places);
    QFETCH(QTime, start);
    QFETCH(int, seconds);
    QFETCH(int, event);
    QFETCH(qreal, dpr);

    FaceColours colours;
    FaceCanvas canvas;
    QImage whole = blank(dpr);
    QImage partial = blank(dpr);
    const DateTime t0 = makeDateTime(2026, 12, 8, start.hour(), start.minute(), start.second());
    for (int s = 0; s < seconds; ++s) {
        if (s == 150) {
            if (event == 1) {
                colours.fills[12] = 0x00FFFF;
                colours.scaleColour = 0xFF0000;
                colours.handColour = 0x008000;
            } else if (event == 2) {
                places[0].x += 170;
                places[0].y -= 95;
            } else if (event == 3) {
                places.pop_back();
            } else if (event == 4) {
                whole.fill(Qt::transparent);
                partial.fill(Qt::transparent);
                canvas.reset();
            }
        }
        const std::vector<FaceDrawing> faces = facesAt(places, addSeconds(t0, s), colours);
        paintWhole(whole, faces);
        const QImage before = partial;
        const QRegion changed = canvas.draw(partial, faces, Qt::black);
        if (partial != whole)
            QFAIL(qPrintable(QString("surfaces differ after second %1").arg(s)));
        // The region given for the repaint holds every pixel that changed.
        QCOMPARE(changedOutside(before, partial, changed), 0);
    }
}

void TestFaceCanvas::settlesToTheMarkerOnly()
{
    // Once the rims have settled (two minutes after a clear surface), a
    // second in mid-minute paints a few small patches around the second
    // markers, not the faces.
    const std::vector<Place> apart = { { 700, 700, 440 }, { 2000, 700, 440 }, { 3300, 900, 440 } };
    FaceColours colours;
    FaceCanvas canvas;
    QImage s = blank();
    const DateTime t0 = makeDateTime(2026, 12, 8, 10, 0, 0);
    for (int i = 0; i <= 195; ++i) // no face changes its minute at 195
        canvas.draw(s, facesAt(apart, addSeconds(t0, i), colours), Qt::black);
    const QRect face = faceBounds(facesAt(apart, t0, colours)[0]).toAlignedRect();
    qint64 area = 0;
    for (const QRect &r : canvas.painted())
        area += qint64(r.width()) * r.height();
    QVERIFY(area > 0);
    QVERIFY2(area < qint64(face.width()) * face.height() / 4, qPrintable(QString::number(area)));
}

QTEST_MAIN(TestFaceCanvas)
#include "tst_facecanvas.moc"
