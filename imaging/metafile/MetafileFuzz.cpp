// libFuzzer entry: any bytes through the helper's decoding and drawing.
#include "imaging/metafile/MetafileRender.h"

#include <QGuiApplication>

#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RenderMetafile(std::string(reinterpret_cast<const char *>(data), size), QSize(394, 94));
    return 0;
}
