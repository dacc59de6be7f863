#include "platform/remote/remoteqr.h"

#include <QPainter>

#include <qrencode.h>

#include <memory>

namespace velloran::platform::remote {

namespace {
constexpr int kQuietModules = 4;
}

QrMatrix qrMatrix(const QByteArray& text)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(text.size()), reinterpret_cast<const unsigned char*>(text.constData()), 0,
                          QR_ECLEVEL_M),
        &QRcode_free);
    QrMatrix matrix;
    if (!code || text.isEmpty())
        return matrix;
    matrix.size = code->width;
    matrix.dark.resize(std::size_t(code->width) * std::size_t(code->width));
    for (std::size_t i = 0; i < matrix.dark.size(); ++i)
        matrix.dark[i] = (code->data[i] & 1) != 0;  // bit 0 is the module's colour
    return matrix;
}

QImage qrImage(const QByteArray& text, int moduleSize)
{
    const QrMatrix matrix = qrMatrix(text);
    if (matrix.size == 0 || moduleSize < 1)
        return {};
    const int side = (matrix.size + 2 * kQuietModules) * moduleSize;
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (int y = 0; y < matrix.size; ++y) {
        for (int x = 0; x < matrix.size; ++x) {
            if (matrix.at(x, y))
                painter.fillRect((x + kQuietModules) * moduleSize, (y + kQuietModules) * moduleSize,
                                 moduleSize, moduleSize, Qt::black);
        }
    }
    return image;
}

}  // namespace velloran::platform::remote
