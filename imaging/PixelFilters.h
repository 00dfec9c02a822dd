#pragma once

#include "imaging/JpegCodec.h"

// The editor's filters. Each returns a changed copy and leaves its input alone.
// The copy is made in the memory of `buffer` when that has the input's size.

// Mirrors the picture: with `horizontal` column x goes to width-1-x, with
// `vertical` row y goes to height-1-y.
BgrImage Flipped(const BgrImage &source, bool vertical, bool horizontal, BgrImage buffer = {});

// Every byte v becomes 255 - v.
BgrImage Inverted(const BgrImage &source, BgrImage buffer = {});

// All three bytes of a pixel become (blue + green + red) / 3, rounded down.
BgrImage Grayscaled(const BgrImage &source, BgrImage buffer = {});

struct Channels {
    bool blue, green, red;
};

// Clears the bytes of the channels that are not kept, then adds `brightness`
// (-255..255) to every byte, limited to 0..255.
BgrImage MaskedAndBrightened(const BgrImage &source, Channels keep, int brightness, BgrImage buffer = {});
