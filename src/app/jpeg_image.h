#pragma once
// Decodes a JPEG picture through libjpeg.
#include <QByteArray>
#include <QImage>

namespace vnx::app {

// A null image when the bytes are not a JPEG libjpeg can read.
QImage DecodeJpeg(const QByteArray& bytes);

}  // namespace vnx::app
