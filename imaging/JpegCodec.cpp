#include "imaging/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <jpeglib.h>

namespace {

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

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE *)>;

FileHandle OpenFile(const std::string &path, const char *mode)
{
    return FileHandle(std::fopen(path.c_str(), mode), &std::fclose);
}

[[noreturn]] void Fail(const std::string &path, const char *what)
{
    throw std::runtime_error("JPEG image " + path + ": " + what);
}

struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    Decompressor() { info.err = InstallErrorManager(errors); jpeg_create_decompress(&info); }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;
};

struct Compressor {
    jpeg_compress_struct info{};
    ErrorManager errors;
    Compressor() { info.err = InstallErrorManager(errors); jpeg_create_compress(&info); }
    ~Compressor() { jpeg_destroy_compress(&info); }
    Compressor(const Compressor &) = delete;
    Compressor &operator=(const Compressor &) = delete;
};

void ReadPixels(jpeg_decompress_struct &info, BgrImage &image)
{
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Row(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
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
    FileHandle file = OpenFile(path, "rb");
    if (!file)
        Fail(path, "cannot open the file");
    Decompressor jpeg;
    auto &info = jpeg.info;
    const bool started = Guarded(jpeg.errors, [&info, &file] {
        jpeg_stdio_src(&info, file.get());
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&info);
    });
    if (!started)
        Fail(path, jpeg.errors.message);
    BgrImage image = MakeBgrImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (!Guarded(jpeg.errors, [&info, &image] {
            ReadPixels(info, image);
            jpeg_finish_decompress(&info);
        }))
        Fail(path, jpeg.errors.message);
    return image;
}

void EncodeJpegFile(const BgrImage &image, const std::string &path, int quality)
{
    if (image.Empty())
        Fail(path, "the image is empty");
    FileHandle file = OpenFile(path, "wb");
    if (!file)
        Fail(path, "cannot create the file");
    Compressor jpeg;
    auto &info = jpeg.info;
    const bool written = Guarded(jpeg.errors, [&info, &file, &image, quality] {
        jpeg_stdio_dest(&info, file.get());
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
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        Fail(path, written ? "cannot write the file" : jpeg.errors.message);
    }
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

QImage LoadJpegImage(const std::string &path)
{
    try {
        return ToQImage(DecodeJpegFile(path));
    } catch (const std::runtime_error &) {
        return {};
    }
}
