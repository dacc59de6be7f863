#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

// A QR code of the phone page's address, to scan instead of typing it.
namespace velloran::platform::remote {

struct QrMatrix {
    int size = 0;            // modules per side; 0 when the text could not be encoded
    std::vector<bool> dark;  // row by row

    bool at(int x, int y) const { return dark[std::size_t(y) * std::size_t(size) + std::size_t(x)]; }
};

// The modules of the text at error correction level M.
QrMatrix qrMatrix(const QByteArray& text);
// Black modules of moduleSize pixels on white, with the quiet zone of four modules around them;
// a null image when the text could not be encoded.
QImage qrImage(const QByteArray& text, int moduleSize = 6);

}  // namespace velloran::platform::remote
