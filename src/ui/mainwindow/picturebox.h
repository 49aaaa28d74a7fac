#pragma once
// A picture frame: a label that shows its picture at its own size or
// stretched to the frame.
#include <QImage>
#include <QLabel>

namespace tb {

class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent);
    void setStretch(bool on);
    bool stretch() const { return m_stretch; }
    void setPicture(const QImage &image); // a null image clears it
    void setFrameSize(const QSize &px);  // only meaningful with stretch on
    // A one-pixel line round the picture, outside it: nothing of it is hidden.
    void setBorder(bool on);
    bool border() const { return frameShape() == QFrame::Box; }
    bool hasPicture() const { return !m_image.isNull(); }
    const QImage &picture() const { return m_image; }

private:
    void refit();
    bool m_stretch = false;
    QImage m_image;
};

} // namespace tb
