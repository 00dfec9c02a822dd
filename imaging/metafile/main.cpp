// The metafile helper: draws the metafiles that the program sends it, one
// after the other, and hands back their pixels (see MetafileProtocol.h).
#include "imaging/metafile/MetafileProtocol.h"
#include "imaging/metafile/MetafileRender.h"

#include <QGuiApplication>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/prctl.h>
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
// make the helper fail so: tests see such failures contained.
void ActOutFault(const std::string &bytes)
{
    if (!std::getenv("QUORLIN_METAFILE_FAULTS")) return;
    if (bytes.starts_with("crash")) std::raise(SIGSEGV);
    if (bytes.starts_with("hang"))
        for (;;) ::pause();
}

bool Answer(const MetafileRequest &request, const std::string &bytes)
{
    const QImage picture = RenderMetafile(bytes, QSize(int(request.width), int(request.height)))
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const MetafileReply reply{std::uint32_t(picture.width()), std::uint32_t(picture.height())};
    // Rows of 32-bit pixels are packed in a QImage too.
    return WriteAll(&reply, sizeof reply) && WriteAll(picture.constBits(), std::size_t(picture.sizeInBytes()));
}

}  // namespace

int main(int argc, char **argv)
{
    // Ends with the program, also when busy with a file. (Strictly with the
    // thread that started it; the program starts another when it needs one.)
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() == 1) return 0;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Its output is pixels only; the toolkit's remarks are of no use to anyone.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
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
