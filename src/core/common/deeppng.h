#pragma once
// A PNG of 16 bits a sample, which Qt's reader would hold whole at 8 bytes a
// pixel and then again to convert: here each row is made 8-bit as it is read
// and reduced at once, so only the result is held whole.
#include <QIODevice>
#include <QImage>
#include <QSize>

namespace tb {

// Reads the PNG from the device's start at `to` (no larger than the picture),
// premultiplied ARGB32 with alpha, else RGB32; null if it cannot be read.
QImage readDeepPng(QIODevice &device, const QSize &to);

} // namespace tb
