// The metafile helper: draws the metafiles that the program sends it, one
// after the other, and hands back their pixels (see MetafileProtocol.h).
#include "metafile/MetafileProtocol.h"
#include "metafile/MetafileRender.h"

#include <QGuiApplication>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

bool ReadExactly(void *into, std::size_t length)
{
    auto *at = static_cast<char *>(into);
    while (length > 0) {
        const ssize_t got = ::read(STDIN_FILENO, at, length);
        if (got == 0 || (got < 0 && errno != EINTR)) return false;
        if (got > 0) at += got, length -= std::size_t(got);
    }
    return true;
}

bool WriteAll(const void *from, std::size_t length)
{
    const auto *at = static_cast<const char *>(from);
    while (length > 0) {
        const ssize_t written = ::write(STDOUT_FILENO, at, length);
        if (written < 0 && errno != EINTR) return false;
        if (written > 0) at += written, length -= std::size_t(written);
    }
    return true;
}

// With QUORLIN_METAFILE_FAULTS set, files that begin with "crash" or "hang"
// make the helper fail so, and a file that begins with "hog" takes 4 GiB of
// address space before the rest of it is drawn: tests see them contained.
void ActOutFault(std::string &bytes)
{
    if (!std::getenv("QUORLIN_METAFILE_FAULTS")) return;
    if (bytes.starts_with("crash")) std::raise(SIGSEGV);
    if (bytes.starts_with("hang"))
        for (;;) ::pause();
    if (bytes.starts_with("hog")) {
        // Left untouched, it costs no memory where address space is not limited.
        const std::unique_ptr<char[]> hoard(new char[std::size_t{4} << 30]);
        static_cast<volatile char *>(hoard.get())[0] = 1;
        bytes.erase(0, 3);
    }
}

bool Answer(const MetafileRequest &request, const std::string &bytes)
{
    const QImage picture = RenderMetafile(bytes, QSize(int(request.width), int(request.height)))
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const MetafileReply reply{std::uint32_t(picture.width()), std::uint32_t(picture.height())};
    if (!WriteAll(&reply, sizeof reply)) return false;
    for (int y = 0; y < picture.height(); ++y)
        if (!WriteAll(picture.constScanLine(y), std::size_t(picture.width()) * 4)) return false;
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    for (;;) {
        MetafileRequest request{};
        if (!ReadExactly(&request, sizeof request)) return 0;
        if (request.length > kMetafileFileCap || request.width > 1 << 14 || request.height > 1 << 14) return 1;
        std::string bytes(request.length, '\0');
        if (!ReadExactly(bytes.data(), bytes.size())) return 1;
        ActOutFault(bytes);
        if (!Answer(request, bytes)) return 1;
    }
}
