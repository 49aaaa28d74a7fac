#pragma once
// A picture frame sized in twips: it shows its picture at the picture's own
// size, or stretched to the frame when stretching is on. The size in twips is
// kept exactly, so what the caller reads back is what was set, not a pixel
// rounding of it.
#include <QImage>
#include <QSize>
#include <QWidget>

namespace tb {

class PictureFrameWidget : public QWidget {
    Q_OBJECT
public:
    explicit PictureFrameWidget(QWidget *parent = nullptr);

    void setPicture(const QImage &image); // a null image clears the frame
    const QImage &picture() const { return m_image; }
    bool hasPicture() const { return !m_image.isNull(); }

    // Stretching off: the frame takes the picture's own size.
    void setStretch(bool on);
    bool stretch() const { return m_stretch; }
    // The frame's size in twips; with stretching off it follows the picture.
    void setTwipsSize(const QSize &twips);
    QSize twipsSize() const { return m_twips; }
    void moveTwips(int left, int top);
    int leftTwips() const { return m_left; }
    int topTwips() const { return m_top; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *) override;

private:
    void applyGeometry();
    QImage m_image;
    bool m_stretch = false;
    QSize m_twips;
    int m_left = 0, m_top = 0;
};

} // namespace tb
