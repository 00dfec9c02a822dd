#include "imaging/JpegCodec.h"

#include "platform/FileBytes.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>

#include <jpeglib.h>

namespace {

// Far above real photographs (a 50-megapixel camera gives 8688 x 5792).
constexpr std::uint64_t kMaxPixels = 200'000'000;
// libjpeg's own buffers: a progressive file keeps all its coefficients, at
// most three components of two bytes per pixel of the largest picture allowed.
constexpr long kMaxDecoderMemory = 1280L << 20;
constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

// The byte order of QImage::Format_RGB32; the decoder fills the X byte with 255.
constexpr J_COLOR_SPACE kRgb32Layout = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// libjpeg reports errors through error_exit, which must not return. It jumps
// back to the setjmp of Guarded(); only libjpeg's own C frames and the
// trivially destructible step lie between, so no C++ destructor is skipped.
struct ErrorManager {
    jpeg_error_mgr pub{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void JumpOnError(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

void IgnoreWarning(j_common_ptr) {}

jpeg_error_mgr *InstallErrorManager(ErrorManager &manager)
{
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = JumpOnError;
    manager.pub.output_message = IgnoreWarning;
    return &manager.pub;
}

// Runs one libjpeg step; false when libjpeg raised an error during it.
template <typename Step> bool Guarded(ErrorManager &manager, Step &&step)
{
    if (setjmp(manager.jump) != 0)
        return false;
    step();
    return true;
}

[[noreturn]] void Fail(const std::string &path, const std::string &what)
{
    throw std::runtime_error("JPEG image " + path + ": " + what);
}

template <typename Step> void GuardedOrFail(ErrorManager &manager, const std::string &path, Step &&step)
{
    if (!Guarded(manager, std::forward<Step>(step)))
        Fail(path, manager.message);
}

struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    Decompressor()
    {
        info.err = InstallErrorManager(errors);
        jpeg_create_decompress(&info);
        info.mem->max_memory_to_use = kMaxDecoderMemory;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;
};

struct Compressor {
    jpeg_compress_struct info{};
    ErrorManager errors;
    // The encoded file, grown by libjpeg with malloc. Until libjpeg finishes
    // it, the pointer may name a buffer that libjpeg freed while growing it.
    unsigned char *encoded = nullptr;
    unsigned long encodedSize = 0;
    Compressor() { info.err = InstallErrorManager(errors); jpeg_create_compress(&info); }
    ~Compressor() { jpeg_destroy_compress(&info); std::free(encoded); }
    Compressor(const Compressor &) = delete;
    Compressor &operator=(const Compressor &) = delete;
};

std::string ReadJpegFile(const std::string &path)
{
    std::string bytes;
    const FileResult read = ReadFileBytes(path, kMaxFileBytes, bytes);
    if (!read)
        Fail(path, "cannot read the file: " + read.Text());
    return bytes;
}

void RefuseOversized(const jpeg_decompress_struct &info, const std::string &path)
{
    if (std::uint64_t{info.image_width} * info.image_height <= kMaxPixels)
        return;
    Fail(path, "the picture is too large to open (" + std::to_string(info.image_width) + " x " +
                   std::to_string(info.image_height) + " pixels; at most " + std::to_string(kMaxPixels / 1'000'000) +
                   " megapixels)");
}

QSize FullSize(const jpeg_decompress_struct &info)
{
    return {static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
}

unsigned ScaledLength(unsigned length, unsigned denominator) { return (length + denominator - 1) / denominator; }

// The largest of the decoder's reductions (1/8, 1/4, 1/2) that keeps the
// picture at least twice its fit into `space`, so that the smooth scaling
// after it still averages over several pixels.
unsigned Reduction(const jpeg_decompress_struct &info, QSize space)
{
    const QSize fitted = FittedSize(FullSize(info), space);
    unsigned denominator = 8;
    while (denominator > 1 && (ScaledLength(info.image_width, denominator) < 2 * static_cast<unsigned>(fitted.width()) ||
                               ScaledLength(info.image_height, denominator) < 2 * static_cast<unsigned>(fitted.height())))
        denominator /= 2;
    return denominator;
}

unsigned char *RowOf(BgrImage &image, JDIMENSION y) { return image.Row(static_cast<int>(y)); }
unsigned char *RowOf(QImage &image, JDIMENSION y) { return image.scanLine(static_cast<int>(y)); }

template <typename Picture> void ReadPixels(jpeg_decompress_struct &info, Picture &picture)
{
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = RowOf(picture, info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
}

template <typename Picture> struct Decoded {
    Picture picture;
    QSize fitted; // the whole picture's size fitted into the space asked for
};

// Decodes the file into the picture that `make(width, height)` gives, in the
// pixel layout `colours`, reduced for `space` (see Reduction).
template <typename Make>
auto Decode(const std::string &path, J_COLOR_SPACE colours, QSize space, Make make)
{
    const std::string bytes = ReadJpegFile(path);
    Decompressor jpeg;
    auto &info = jpeg.info;
    GuardedOrFail(jpeg.errors, path, [&info, &bytes] {
        jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
        jpeg_read_header(&info, TRUE);
    });
    RefuseOversized(info, path);
    info.out_color_space = colours;
    info.scale_denom = Reduction(info, space);
    GuardedOrFail(jpeg.errors, path, [&info] { jpeg_start_decompress(&info); });
    Decoded<decltype(make(0, 0))> decoded{{}, FittedSize(FullSize(info), space)};
    try {
        decoded.picture = make(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    } catch (const std::bad_alloc &) {
        Fail(path, "not enough memory");
    }
    GuardedOrFail(jpeg.errors, path, [&info, &decoded] {
        ReadPixels(info, decoded.picture);
        jpeg_finish_decompress(&info);
    });
    return decoded;
}

void WritePixels(jpeg_compress_struct &info, const BgrImage &image)
{
    while (info.next_scanline < info.image_height) {
        // libjpeg's interface takes non-const rows but only reads them.
        JSAMPROW row = const_cast<unsigned char *>(image.Row(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
}

} // namespace

BgrImage MakeBgrImage(int width, int height)
{
    BgrImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height * 3, 0);
    return image;
}

BgrImage DecodeJpegFile(const std::string &path)
{
    return Decode(path, JCS_EXT_BGR, QSize(), MakeBgrImage).picture;
}

void EncodeJpegFile(const BgrImage &image, const std::string &path, int quality)
{
    if (image.Empty())
        Fail(path, "the image is empty");
    Compressor jpeg;
    auto &info = jpeg.info;
    const bool encoded = Guarded(jpeg.errors, [&jpeg, &info, &image, quality] {
        jpeg_mem_dest(&info, &jpeg.encoded, &jpeg.encodedSize);
        info.image_width = static_cast<JDIMENSION>(image.width);
        info.image_height = static_cast<JDIMENSION>(image.height);
        info.input_components = 3;
        info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        jpeg_start_compress(&info, TRUE);
        WritePixels(info, image);
        jpeg_finish_compress(&info);
    });
    if (!encoded) {
        jpeg.encoded = nullptr;
        Fail(path, jpeg.errors.message);
    }
    const FileResult written =
        WriteFileBytes(path, std::string_view(reinterpret_cast<const char *>(jpeg.encoded), jpeg.encodedSize));
    if (!written)
        Fail(path, "cannot write the file: " + written.Text());
}

QImage ToQImage(const BgrImage &image)
{
    if (image.Empty())
        return {};
    QImage result(image.width, image.height, QImage::Format_BGR888);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(result.scanLine(y), image.Row(y), static_cast<std::size_t>(image.Stride()));
    return result;
}

QImage LoadJpegImage(const std::string &path, QSize space)
{
    try {
        const auto decoded = Decode(path, kRgb32Layout, space, [](int width, int height) {
            QImage picture(width, height, QImage::Format_RGB32);
            if (picture.isNull())
                throw std::bad_alloc();
            return picture;
        });
        if (decoded.picture.size() == decoded.fitted)
            return decoded.picture;
        return decoded.picture.scaled(decoded.fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } catch (const std::runtime_error &) {
        return {};
    }
}
