// quillon-thumbnailer: a file manager's thumbnail of a fax file, by the
// freedesktop convention (quillon.thumbnailer names it for the fax MIME
// types): the first page with data made at most SIZE pixels each way, as a
// PNG file.
//
//   quillon-thumbnailer -s SIZE INPUT OUTPUT.png

#include <QImage>

#include <charconv>
#include <cstdio>
#include <string>

#include "tiff/tiff_messages.h"
#include "view/page_thumbnail.h"

namespace {

// The largest thumbnails a desktop asks for (xx-large) are 1024 pixels.
constexpr std::uint32_t kLargestSize = 1024;

int fail(const std::string& message) {
    std::fprintf(stderr, "quillon-thumbnailer: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint32_t size = 0;
    if (argc != 5 || std::string(argv[1]) != "-s")
        return fail("usage: quillon-thumbnailer -s SIZE INPUT OUTPUT.png");
    const std::string sizeText = argv[2];
    const auto parsed = std::from_chars(sizeText.data(), sizeText.data() + sizeText.size(), size);
    if (parsed.ec != std::errc() || parsed.ptr != sizeText.data() + sizeText.size() || size == 0 || size > kLargestSize)
        return fail("the size is a number of pixels from 1 to 1024, not '" + sizeText + "'");
    // Its one line says why a file has no thumbnail; libtiff's would be noise.
    quillon::routeTiffMessages(quillon::TiffMessageTarget::discard);
    quillon::GrayImage image;
    std::string problem;
    if (!quillon::faxThumbnail(argv[3], size, image, problem)) return fail(std::string(argv[3]) + ": " + problem);
    const QImage png(image.pixels.data(), int(image.width), int(image.rows), int(image.width), QImage::Format_Grayscale8);
    if (!png.save(QString::fromLocal8Bit(argv[4]), "PNG")) return fail(std::string(argv[4]) + " cannot be written");
    return 0;
}
