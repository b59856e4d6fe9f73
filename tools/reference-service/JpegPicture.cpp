#include "JpegPicture.h"

#include "Random.h"

#include <cstdio>
#include <jpeglib.h>

#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <vector>

namespace qarvon::refsvc {

namespace {

struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(manager->jump, 1);
}

struct Colour
{
    double r, g, b;
};

Colour Hue(double h, double s, double v)
{
    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(h / 60.0, 2) - 1));
    const double m = v - c;
    Colour out {0, 0, 0};
    if (h < 60)
        out = {c, x, 0};
    else if (h < 120)
        out = {x, c, 0};
    else if (h < 180)
        out = {0, c, x};
    else if (h < 240)
        out = {0, x, c};
    else if (h < 300)
        out = {x, 0, c};
    else
        out = {c, 0, x};
    return {out.r + m, out.g + m, out.b + m};
}

// Kept out of PatternJpeg so no object with a destructor lives across setjmp.
bool Compress(const std::vector<unsigned char> &rgb, int size, unsigned char **data,
              unsigned long *length)
{
    jpeg_compress_struct info {};
    ErrorManager errors {};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnJpegError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, data, length);
    info.image_width = static_cast<JDIMENSION>(size);
    info.image_height = static_cast<JDIMENSION>(size);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto *row = const_cast<unsigned char *>(rgb.data() + info.next_scanline * size * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::string PatternJpeg(std::uint64_t seed, int size)
{
    Random r(seed);
    const double hueA = r.range(0, 359);
    const double hueB = std::fmod(hueA + r.range(60, 180), 360.0);
    const double cx = 0.2 + 0.6 * r.unit();
    const double cy = 0.2 + 0.6 * r.unit();
    const double rings = r.range(3, 9);
    const double stripes = r.range(0, 6);
    std::vector<unsigned char> rgb(static_cast<std::size_t>(size) * size * 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double u = static_cast<double>(x) / size;
            const double v = static_cast<double>(y) / size;
            const double d = std::hypot(u - cx, v - cy);
            const double ring = 0.5 + 0.5 * std::cos(d * rings * 6.2832);
            const double stripe = 0.5 + 0.5 * std::sin((u + v) * stripes * 3.1416);
            const double mix = 0.6 * ring + 0.4 * stripe;
            const Colour a = Hue(hueA, 0.65, 0.9 - 0.3 * v);
            const Colour b = Hue(hueB, 0.55, 0.45 + 0.4 * u);
            auto *px = &rgb[(static_cast<std::size_t>(y) * size + x) * 3];
            px[0] = static_cast<unsigned char>(255 * (a.r * mix + b.r * (1 - mix)));
            px[1] = static_cast<unsigned char>(255 * (a.g * mix + b.g * (1 - mix)));
            px[2] = static_cast<unsigned char>(255 * (a.b * mix + b.b * (1 - mix)));
        }
    }
    unsigned char *data = nullptr;
    unsigned long length = 0;
    std::string out;
    if (Compress(rgb, size, &data, &length))
        out.assign(reinterpret_cast<const char *>(data), length);
    std::free(data);
    return out;
}

} // namespace qarvon::refsvc
