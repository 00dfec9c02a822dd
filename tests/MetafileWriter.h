#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>

// Windows metafiles written record by record, for tests and benchmarks.
// Colours are 0xBBGGRR, as the files hold them.
namespace metafile_writer {

// Little-endian fields of `size` bytes each.
inline std::string Fields(int size, std::initializer_list<std::int64_t> values)
{
    std::string bytes;
    for (std::int64_t value : values)
        for (int n = 0; n < size; ++n) bytes += static_cast<char>(value >> 8 * n);
    return bytes;
}

constexpr std::uint32_t kRed = 0x0000ff, kBlue = 0xff0000;

// An enhanced metafile whose frame is `width` x `height` pixels at 96 dpi,
// drawn in pixels (one logical unit = one device pixel).
class Emf {
public:
    Emf(int width, int height) : width_(width), height_(height) {}

    // A solid brush of `colour` and no outline (the stock null pen), for the shapes after it.
    Emf &Brush(std::uint32_t colour)
    {
        return Record(39, {handles_, 0, colour, 0}).Record(37, {handles_++}).Record(37, {0x80000008});
    }
    Emf &Rectangle(int left, int top, int right, int bottom) { return Record(43, {left, top, right, bottom}); }
    Emf &Ellipse(int left, int top, int right, int bottom) { return Record(42, {left, top, right, bottom}); }

    // The header (bounds, frame in hundredths of a millimetre, signature, version, size, counts, a device
    // of 960 pixels on 254 mm), the records and the end record.
    std::string Bytes() const
    {
        const std::int64_t size = kHeaderSize + std::int64_t(records_.size()) + 20;
        return Fields(4, {1, kHeaderSize, 0, 0, width_ - 1, height_ - 1, 0, 0, (width_ * 2540 + 48) / 96,
                          (height_ * 2540 + 48) / 96, 0x464D4520, 0x10000, size, count_ + 2}) +
               Fields(2, {handles_, 0}) + Fields(4, {0, 0, 0, 960, 960, 254, 254, 0, 0, 0, 254000, 254000}) + records_ +
               Fields(4, {14, 20, 0, 16, 20});
    }

    static constexpr int kHeaderSize = 108;

private:
    Emf &Record(std::int64_t type, std::initializer_list<std::int64_t> values)
    {
        records_ += Fields(4, {type, 8 + 4 * std::int64_t(values.size())}) + Fields(4, values);
        ++count_;
        return *this;
    }

    int width_, height_, count_ = 0, handles_ = 1;
    std::string records_;
};

// A standard metafile drawn in a window of `width` x `height` logical units,
// with or without the placeable header that names its size in `unitsPerInch`.
class Wmf {
public:
    Wmf(int width, int height, bool placeable, int unitsPerInch = 96)
    {
        // The placeable header ends with the xor of its words.
        const int checksum = (0xCDD7 ^ 0x9AC6 ^ width ^ height ^ unitsPerInch) & 0xffff;
        if (placeable) placeable_ = Fields(2, {0xCDD7, 0x9AC6, 0, 0, 0, width, height, unitsPerInch, 0, 0, checksum});
        // Anisotropic mapping, the window's origin and extent (y, x).
        Record(0x0103, {8}).Record(0x020B, {0, 0}).Record(0x020C, {height, width});
    }

    // A solid brush of `colour` and a null pen, both selected.
    Wmf &Brush(std::uint32_t colour)
    {
        Record(0x02FC, {0, colour & 0xffff, colour >> 16, 0}).Record(0x02FA, {5, 0, 0, 0, 0});
        objects_ += 2;
        return Record(0x012D, {objects_ - 2}).Record(0x012D, {objects_ - 1});
    }
    Wmf &Rectangle(int left, int top, int right, int bottom) { return Record(0x041B, {bottom, right, top, left}); }
    Wmf &Ellipse(int left, int top, int right, int bottom) { return Record(0x0418, {bottom, right, top, left}); }

    std::string Bytes() const
    {
        const std::int64_t words = 9 + std::int64_t(records_.size() / 2) + 3;  // with the end record
        return placeable_ + Fields(2, {1, 9, 0x0300}) + Fields(4, {words}) + Fields(2, {objects_, largest_, 0, 0}) +
               records_ + Fields(2, {3, 0, 0});
    }

private:
    // A record, its values as 16-bit words.
    Wmf &Record(int function, std::initializer_list<std::int64_t> words)
    {
        records_ += Fields(4, {3 + std::int64_t(words.size())}) + Fields(2, {function}) + Fields(2, words);
        largest_ = std::max(largest_, 3 + int(words.size()));
        return *this;
    }

    std::string placeable_, records_;
    int objects_ = 0, largest_ = 3;
};

// The test picture: a red rectangle on the left half and a blue ellipse on
// the right half of a `width` x `height` frame; the rest is transparent.
template <typename Metafile, typename... More> std::string RedAndBlue(int width, int height, More... placeable)
{
    Metafile metafile(width, height, placeable...);
    metafile.Brush(kRed).Rectangle(0, 0, width / 2, height);
    return metafile.Brush(kBlue).Ellipse(width / 2, 0, width, height).Bytes();
}

}  // namespace metafile_writer
