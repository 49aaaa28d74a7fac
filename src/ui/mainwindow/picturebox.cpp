#include "ui/mainwindow/picturebox.h"

#include <QPixmap>

namespace tb {

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setStretch(bool on)
{
    m_stretch = on;
    setScaledContents(on);
    refit();
}

void PictureBox::setPicture(const QImage &image)
{
    m_image = image;
    if (image.isNull())
        clear();
    else
        setPixmap(QPixmap::fromImage(image));
    refit();
}

void PictureBox::setFrameSize(const QSize &size)
{
    resize(size);
}

void PictureBox::setBorder(bool on)
{
    setFrameShape(on ? QFrame::Box : QFrame::NoFrame);
    setLineWidth(1);
    refit();
}

void PictureBox::refit()
{
    // Without stretch the frame takes the picture's own size, with the border round it.
    if (!m_stretch && !m_image.isNull())
        resize(m_image.deviceIndependentSize().toSize() + 2 * QSize(frameWidth(), frameWidth()));
}

} // namespace tb
