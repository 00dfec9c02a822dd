#pragma once

#include "imaging/Fitting.h"

#include <QImage>

#include <string>
#include <vector>

// A 24-bit picture: rows from top to bottom, three bytes per pixel in the
// order blue, green, red, rows packed (stride = width * 3).
struct BgrImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    bool Empty() const { return width <= 0 || height <= 0; }
    int Stride() const { return width * 3; }
    unsigned char *Row(int y) { return pixels.data() + static_cast<std::size_t>(y) * Stride(); }
    const unsigned char *Row(int y) const { return pixels.data() + static_cast<std::size_t>(y) * Stride(); }
    bool operator==(const BgrImage &) const = default;
};

// Makes a black picture of the given size.
BgrImage MakeBgrImage(int width, int height);

// Decodes a JPEG file; grayscale files expand to three equal bytes per pixel.
// Files over 256 MiB and pictures over 200 megapixels are refused before
// any pixel is decoded. Throws std::runtime_error with the reason when the
// file cannot be read or decoded.
BgrImage DecodeJpegFile(const std::string &path);

// Writes a colour, baseline JPEG file, encoded in memory first so that a
// failed write leaves an existing file whole. Throws std::runtime_error when
// the file cannot be written.
void EncodeJpegFile(const BgrImage &image, const std::string &path, int quality = 100);

QImage ToQImage(const BgrImage &image);

// Decodes for showing; an unreadable or refused file gives a null QImage.
// With a `space`, a larger picture is scaled down to fit it, keeping its
// proportions, smoothly and once: the decoder's own scaling first reduces it
// as far as it stays at least twice that fit.
QImage LoadJpegImage(const std::string &path, QSize space = {});
