#include "mainwindow/picturebox.h"

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

void PictureBox::refit()
{
    // Without stretch the frame takes the picture's own size.
    if (!m_stretch && !m_image.isNull())
        resize(m_image.size() / m_image.devicePixelRatio());
}

} // namespace tb
