#pragma once

#include "imaging/JpegCodec.h"

#include <cstdlib>

// Mean byte difference of two pictures of one size; JPEG keeps it small.
inline double MeanDifference(const BgrImage &a, const BgrImage &b)
{
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        sum += std::abs(a.pixels[i] - b.pixels[i]);
    return a.pixels.empty() ? 0 : sum / double(a.pixels.size());
}
