#pragma once

#include "imaging/JpegCodec.h"

// The editor's filters. Each returns a changed copy and leaves its input alone.

// Mirrors the picture: with `horizontal` column x goes to width-1-x, with
// `vertical` row y goes to height-1-y.
BgrImage Flipped(const BgrImage &source, bool vertical, bool horizontal);

// Every byte v becomes 255 - v.
BgrImage Inverted(const BgrImage &source);

// All three bytes of a pixel become (blue + green + red) / 3, rounded down.
BgrImage Grayscaled(const BgrImage &source);

// Clears the bytes of the channels that are not kept.
BgrImage ChannelMasked(const BgrImage &source, bool keepBlue, bool keepGreen, bool keepRed);

// Adds `brightness` (-255..255) to every byte, limited to 0..255.
BgrImage Brightened(const BgrImage &source, int brightness);

// Blackens the odd columns (1, 3, 5, ...) of every row.
BgrImage Dithered(const BgrImage &source);
