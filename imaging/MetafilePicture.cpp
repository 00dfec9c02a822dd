#include "imaging/MetafilePicture.h"

#include "imaging/metafile/MetafileProtocol.h"
#include "platform/FileBytes.h"
#include "platform/HelperProcess.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <mutex>
#include <optional>

namespace {

// Address space for the helper: the toolkit and the libraries take about a
// third of it, the rest is for one picture at a time.
constexpr std::size_t kHelperAddressSpace = std::size_t{1} << 30;

// Beside the program, or where the build put it (for tests and benchmarks).
std::string HelperProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + "/" + kMetafileHelperName;
    if (QFileInfo(beside).isExecutable()) return beside.toStdString();
    return QUORLIN_BUILD_DIR "/" + std::string(kMetafileHelperName);
}

struct Helper {
    std::mutex busy;
    platform::HelperProcess process{HelperProgram(), kHelperAddressSpace};
};

Helper &TheHelper()
{
    static Helper helper;
    return helper;
}

// The helper's picture (null for none), or nothing when the helper failed.
std::optional<QImage> Exchange(platform::HelperProcess &process, const std::string &bytes, QSize space)
{
    const auto deadline = std::chrono::steady_clock::now() + kMetafileTimeLimit;
    const MetafileRequest request{std::uint32_t(space.width()), std::uint32_t(space.height()), bytes.size()};
    MetafileReply reply{};
    if (!process.Start() || !process.Send(&request, sizeof request, deadline) ||
        !process.Send(bytes.data(), bytes.size(), deadline) || !process.Receive(&reply, sizeof reply, deadline))
        return std::nullopt;
    // Never more than the space asked for is read.
    if (reply.width > request.width || reply.height > request.height) return std::nullopt;
    if (reply.width == 0 || reply.height == 0) return QImage();
    QImage picture(int(reply.width), int(reply.height), QImage::Format_ARGB32_Premultiplied);
    // Rows of 32-bit pixels are packed in a QImage too.
    if (picture.isNull() || !process.Receive(picture.bits(), std::size_t(picture.sizeInBytes()), deadline)) return std::nullopt;
    return picture;
}

}  // namespace

QImage LoadMetafilePicture(const std::string &path, QSize space)
{
    std::string bytes;
    if (space.isEmpty() || !ReadFileBytes(path, kMetafileFileCap, bytes)) return {};
    Helper &helper = TheHelper();
    const std::lock_guard lock(helper.busy);
    const std::optional<QImage> picture = Exchange(helper.process, bytes, space);
    // A helper that failed may be in any state: the next file gets a new one.
    if (!picture) helper.process.Stop();
    return picture.value_or(QImage());
}

void EndMetafileHelper()
{
    Helper &helper = TheHelper();
    const std::lock_guard lock(helper.busy);
    helper.process.Stop();
}
