#include "media/JpegPicture.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace {

// The library reports a fatal error by jumping back to the decoder, which then gives up.
struct RErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void FailDecoding(j_common_ptr info) { std::longjmp(reinterpret_cast<RErrorManager*>(info->err)->jump, 1); }
void Quiet(j_common_ptr) {}

struct RFileClose {
    void operator()(FILE* file) const { std::fclose(file); }
};

// Decodes the scanlines into the caller's picture through a row the library owns, so that a jump
// back leaves no object of this frame behind.
bool Decode(jpeg_decompress_struct& info, RErrorManager& errors, QImage& picture) {
    if (setjmp(errors.jump)) return false;
    jpeg_read_header(&info, TRUE);
    info.out_color_space = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    picture = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (picture.isNull()) return false;
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                 info.output_width * JDIMENSION(info.output_components), 1);
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, rows, 1);
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(int(info.output_scanline) - 1));
        for (JDIMENSION x = 0; x < info.output_width; ++x) {
            const JSAMPLE* p = rows[0] + size_t(x) * size_t(info.output_components);
            if (info.out_color_space == JCS_CMYK)  // Adobe's inverted CMYK
                line[x] = qRgb(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255);
            else
                line[x] = qRgb(p[0], p[1], p[2]);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

QImage DecodeJpeg(const std::string& hostPath) {
    const std::unique_ptr<FILE, RFileClose> file(std::fopen(hostPath.c_str(), "rb"));
    if (!file) return {};
    jpeg_decompress_struct info{};
    RErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = FailDecoding;
    errors.base.output_message = Quiet;
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file.get());
    QImage picture;
    const bool ok = Decode(info, errors, picture);
    jpeg_destroy_decompress(&info);
    return ok ? picture : QImage();
}
