#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>

// Windows metafiles written record by record, for tests and benchmarks.
// Colours are 0xBBGGRR, as the files hold them.
namespace metafile_writer {

inline void PutU16(std::string &bytes, std::uint32_t value)
{
    bytes += static_cast<char>(value & 0xff);
    bytes += static_cast<char>((value >> 8) & 0xff);
}
inline void PutU32(std::string &bytes, std::uint32_t value)
{
    PutU16(bytes, value & 0xffff);
    PutU16(bytes, value >> 16);
}
inline void PutWords(std::string &bytes, std::initializer_list<int> words)
{
    for (int word : words) PutU16(bytes, static_cast<std::uint32_t>(word));
}
inline void PutLongs(std::string &bytes, std::initializer_list<int> longs)
{
    for (int value : longs) PutU32(bytes, static_cast<std::uint32_t>(value));
}

constexpr std::uint32_t kRed = 0x0000ff, kBlue = 0xff0000, kGreen = 0x00ff00;

// An enhanced metafile whose frame is `width` x `height` pixels at 96 dpi,
// drawn in pixels (one logical unit = one device pixel).
class Emf {
public:
    Emf(int width, int height) : width_(width), height_(height) {}

    // A solid brush of `colour` and no outline, for the shapes after it.
    Emf &Brush(std::uint32_t colour)
    {
        Record(39, {handles_, 0, static_cast<int>(colour), 0});  // create brush
        Record(37, {handles_++});                                  // select it
        Record(37, {int(0x80000008)});                             // the stock null pen
        return *this;
    }
    Emf &Rectangle(int left, int top, int right, int bottom) { return Record(43, {left, top, right, bottom}); }
    Emf &Ellipse(int left, int top, int right, int bottom) { return Record(42, {left, top, right, bottom}); }
    // Any record, its values as 32-bit fields.
    Emf &Record(std::uint32_t type, std::initializer_list<int> values)
    {
        PutU32(records_, type);
        PutU32(records_, static_cast<std::uint32_t>(8 + 4 * values.size()));
        PutLongs(records_, values);
        ++count_;
        return *this;
    }

    // The whole file: the header, the records and the end record.
    std::string Bytes() const
    {
        std::string end;
        PutLongs(end, {14, 20, 0, 16, 20});
        const int size = kHeaderSize + int(records_.size() + end.size());
        std::string bytes;
        PutLongs(bytes, {1, kHeaderSize, 0, 0, width_ - 1, height_ - 1});  // type, size, bounds
        PutLongs(bytes, {0, 0, HundredthsOfMm(width_), HundredthsOfMm(height_)});  // frame
        PutLongs(bytes, {0x464D4520, 0x10000, size, count_ + 2});
        PutWords(bytes, {handles_, 0});
        PutLongs(bytes, {0, 0, 0, 960, 960, 254, 254, 0, 0, 0, 254000, 254000});
        return bytes + records_ + end;
    }

    static int HundredthsOfMm(int pixels) { return (pixels * 2540 + 48) / 96; }

    static constexpr int kHeaderSize = 108;

private:
    int width_, height_;
    std::string records_;
    int count_ = 0;
    int handles_ = 1;
};

// A standard metafile drawn in a window of `width` x `height` logical units,
// with or without the placeable header that names its size in `unitsPerInch`.
class Wmf {
public:
    Wmf(int width, int height, bool placeable, int unitsPerInch = 96)
        : width_(width), height_(height), placeable_(placeable), unitsPerInch_(unitsPerInch)
    {
        Record(0x0103, {8});                  // anisotropic mapping
        Record(0x020B, {0, 0});               // window origin (y, x)
        Record(0x020C, {height_, width_});    // window extent (y, x)
    }

    Wmf &Brush(std::uint32_t colour)
    {
        Record(0x02FC, {0, int(colour & 0xffff), int(colour >> 16), 0});  // create brush
        Record(0x02FA, {5, 0, 0, 0, 0});                                   // create a null pen
        Record(0x012D, {objects_});
        Record(0x012D, {objects_ + 1});
        objects_ += 2;
        return *this;
    }
    Wmf &Rectangle(int left, int top, int right, int bottom) { return Record(0x041B, {bottom, right, top, left}); }
    Wmf &Ellipse(int left, int top, int right, int bottom) { return Record(0x0418, {bottom, right, top, left}); }
    // Any record, its values as 16-bit words.
    Wmf &Record(std::uint32_t function, std::initializer_list<int> words)
    {
        PutU32(records_, static_cast<std::uint32_t>(3 + words.size()));
        PutU16(records_, function);
        PutWords(records_, words);
        largest_ = std::max<int>(largest_, 3 + int(words.size()));
        return *this;
    }

    std::string Bytes() const
    {
        std::string bytes;
        if (placeable_) {
            std::string header;
            PutLongs(header, {int(0x9AC6CDD7)});
            PutWords(header, {0, 0, 0, width_, height_, unitsPerInch_, 0, 0});
            int checksum = 0;
            for (std::size_t at = 0; at < header.size(); at += 2)
                checksum ^= static_cast<unsigned char>(header[at]) | static_cast<unsigned char>(header[at + 1]) << 8;
            PutWords(header, {checksum});
            bytes = header;
        }
        const std::string body = records_ + std::string("\x03\0\0\0\0\0", 6);  // end record
        PutWords(bytes, {1, 9, 0x0300});
        PutU32(bytes, static_cast<std::uint32_t>(9 + body.size() / 2));
        PutWords(bytes, {objects_});
        PutU32(bytes, static_cast<std::uint32_t>(largest_));
        PutWords(bytes, {0});
        return bytes + body;
    }

private:
    int width_, height_;
    bool placeable_;
    int unitsPerInch_;
    std::string records_;
    int objects_ = 0;
    int largest_ = 3;
};

// The test picture: a red rectangle on the left half and a blue ellipse on
// the right half of a `width` x `height` frame; the rest is transparent.
inline std::string RedAndBlueEmf(int width = 200, int height = 100)
{
    return Emf(width, height)
        .Brush(kRed)
        .Rectangle(0, 0, width / 2, height)
        .Brush(kBlue)
        .Ellipse(width / 2, 0, width, height)
        .Bytes();
}
inline std::string RedAndBlueWmf(bool placeable, int width = 200, int height = 100)
{
    return Wmf(width, height, placeable)
        .Brush(kRed)
        .Rectangle(0, 0, width / 2, height)
        .Brush(kBlue)
        .Ellipse(width / 2, 0, width, height)
        .Bytes();
}

}  // namespace metafile_writer
