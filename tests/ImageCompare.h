#pragma once

#include "imaging/JpegCodec.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

// Mean difference of the colour bytes of two pictures of one size.
inline double MeanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return a.isNull() ? 0 : sum / (3.0 * a.width() * a.height());
}

// Every step of a JPEG file's quantisation tables; quality 100 makes them all 1.
inline std::vector<int> QuantisationSteps(const std::string &jpeg)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(jpeg.data()), jpeg.size());
    jpeg_read_header(&info, TRUE);
    std::vector<int> steps;
    for (const JQUANT_TBL *table : info.quant_tbl_ptrs)
        if (table) steps.insert(steps.end(), std::begin(table->quantval), std::end(table->quantval));
    jpeg_destroy_decompress(&info);
    return steps;
}
