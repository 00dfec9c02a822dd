#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

#include <optional>
#include <string>

// Windows metafiles (enhanced and standard) turned into pixels: converted to
// SVG by libemf2svg or libwmf and drawn by Qt's SVG renderer. This parses
// untrusted bytes in C libraries, so the program runs it in a helper process.

// What a metafile's header says about its picture.
struct MetafileFrame {
    // The picture's size in screen pixels (96 to the inch).
    QSize pixels;
    // The frame in the units the metafile is drawn in: device pixels for an
    // enhanced metafile, logical units for a standard one.
    QRectF drawn;
};

// The frame of an enhanced metafile: its header's frame.
std::optional<MetafileFrame> EmfFrame(const std::string &bytes);
// The frame of a standard metafile: the placeable header's box, or without
// one the window that its records set.
std::optional<MetafileFrame> WmfFrame(const std::string &bytes);

// The picture fitted into `space` (scaled down, never enlarged, proportions
// kept) on a transparent ground; a null image when the bytes are no
// metafile or cannot be drawn.
QImage RenderMetafile(const std::string &bytes, QSize space);
