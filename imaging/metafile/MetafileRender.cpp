#include "imaging/metafile/MetafileRender.h"

#include "imaging/Fitting.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace {

constexpr double kScreenDpi = 96;
// Pictures claiming more pixels a side than this are taken as broken.
constexpr double kLargestSide = 1 << 20;

// Little-endian fields of a byte string, read only inside it.
class Fields {
public:
    explicit Fields(const std::string &bytes) : bytes_(bytes) {}

    bool Has(std::size_t at, std::size_t length) const { return at <= bytes_.size() && length <= bytes_.size() - at; }
    std::optional<std::uint32_t> Dword(std::size_t at) const
    {
        if (!Has(at, 4)) return std::nullopt;
        return qFromLittleEndian<std::uint32_t>(bytes_.data() + at);
    }
    std::optional<std::uint16_t> Word(std::size_t at) const
    {
        if (!Has(at, 2)) return std::nullopt;
        return qFromLittleEndian<std::uint16_t>(bytes_.data() + at);
    }
    std::optional<std::int32_t> Long(std::size_t at) const
    {
        const auto value = Dword(at);
        return value ? std::optional(static_cast<std::int32_t>(*value)) : std::nullopt;
    }
    std::optional<std::int16_t> Short(std::size_t at) const
    {
        const auto value = Word(at);
        return value ? std::optional(static_cast<std::int16_t>(*value)) : std::nullopt;
    }

private:
    const std::string &bytes_;
};

void PutU16(std::string &bytes, std::size_t at, std::uint16_t value) { qToLittleEndian(value, bytes.data() + at); }
void PutU32(std::string &bytes, std::size_t at, std::uint32_t value) { qToLittleEndian(value, bytes.data() + at); }

// A side of the picture in whole pixels, or 0 when it is no sensible length.
int PixelLength(double length)
{
    length = std::abs(length);
    if (!(length > 0 && length < kLargestSide)) return 0;
    return std::max(1, static_cast<int>(std::lround(length)));
}

std::optional<MetafileFrame> Frame(double width, double height, QRectF drawn)
{
    const QSize pixels(PixelLength(width), PixelLength(height));
    if (pixels.isEmpty()) return std::nullopt;
    return MetafileFrame{pixels, drawn};
}

// The SVG drawn into the fitted size: `viewBox` (in the SVG's units) is the frame.
QImage RenderSvg(const QByteArray &svg, const QRectF &viewBox, QSize pictureSize, QSize space)
{
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return {};
    renderer.setViewBox(viewBox);
    QImage picture(FittedSize(pictureSize, space).expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) return {};
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}

// --- Enhanced metafiles ---------------------------------------------------

constexpr std::size_t kEmfBounds = 8, kEmfFrame = 24, kEmfSignature = 40, kEmfDescription = 60, kEmfDevice = 72,
                      kEmfMillimetres = 80;
constexpr std::size_t kEmfHeaderSize = 88;

// The frame in whole device pixels, as the records draw it.
std::optional<QRect> DevicePixels(const QRectF &drawn)
{
    const double largest = std::numeric_limits<std::int32_t>::max() / 2;
    for (double edge : {drawn.left(), drawn.top(), drawn.right(), drawn.bottom()})
        if (!(std::abs(edge) < largest)) return std::nullopt;
    const int left = int(std::lround(drawn.left())), top = int(std::lround(drawn.top()));
    const QRect device(left, top, int(std::lround(drawn.right())) - left, int(std::lround(drawn.bottom())) - top);
    if (device.width() < 1 || device.height() < 1) return std::nullopt;
    return device;
}

// libemf2svg draws the header's bounds; they become the frame. It reads the
// header's description without checking where it lies: it gets none.
QImage RenderEmf(std::string bytes, QSize space)
{
    const auto frame = EmfFrame(bytes);
    const auto device = frame ? DevicePixels(frame->drawn) : std::nullopt;
    if (!device) return {};
    const int bounds[] = {device->left(), device->top(), device->left() + device->width(), device->top() + device->height()};
    for (std::size_t n = 0; n < 4; ++n) PutU32(bytes, kEmfBounds + 4 * n, static_cast<std::uint32_t>(bounds[n]));
    PutU32(bytes, kEmfDescription, 0);
    PutU32(bytes, kEmfDescription + 4, 0);
    generatorOptions options{};
    options.nameSpace = const_cast<char *>("");
    options.emfplus = true;
    options.svgDelimiter = true;
    char *svg = nullptr;
    std::size_t length = 0;
    const int converted = emf2svg(bytes.data(), bytes.size(), &svg, &length, &options);
    const QByteArray svgBytes(svg, svg ? static_cast<qsizetype>(length) : 0);
    std::free(svg);
    if (!converted) return {};
    return RenderSvg(svgBytes, QRectF(QPointF(), QSizeF(device->size())), frame->pixels, space);
}

// --- Standard metafiles ---------------------------------------------------

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22, kWmfHeaderSize = 18;
constexpr std::uint16_t kSetMapMode = 0x0103, kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C, kEndOfFile = 0;
constexpr std::uint16_t kAnisotropic = 8;
// libwmf's viewport, onto which the window is mapped.
constexpr double kLibwmfViewport = 1024;

bool IsPlaceable(const Fields &fields) { return fields.Dword(0) == kPlaceableKey; }
std::size_t WmfHeaderAt(const Fields &fields) { return IsPlaceable(fields) ? kPlaceableSize : 0; }

bool HasWmfHeader(const Fields &fields)
{
    const std::size_t at = WmfHeaderAt(fields);
    const auto type = fields.Word(at);
    return (type == 1 || type == 2) && fields.Word(at + 2) == 9 && fields.Has(at, kWmfHeaderSize);
}

// The window of the first window origin and extent records; {} without an extent.
QRectF RecordedWindow(const Fields &fields, std::size_t records)
{
    QPointF origin;
    std::optional<QSizeF> extent;
    bool originSeen = false;
    for (std::size_t at = records; fields.Has(at, 6);) {
        const std::uint32_t words = *fields.Dword(at);
        const std::uint16_t function = *fields.Word(at + 4);
        if (words < 3 || function == kEndOfFile || !fields.Has(at, std::size_t{words} * 2)) break;
        if (words >= 5 && function == kSetWindowOrg && !originSeen) {
            origin = QPointF(*fields.Short(at + 8), *fields.Short(at + 6));
            originSeen = true;
        }
        if (words >= 5 && function == kSetWindowExt && !extent) extent = QSizeF(*fields.Short(at + 8), *fields.Short(at + 6));
        at += std::size_t{words} * 2;
    }
    return extent ? QRectF(origin, *extent) : QRectF();
}

// A window origin or extent record: two words, y first.
std::string WindowRecord(std::uint16_t function, double x, double y)
{
    std::string record(10, '\0');
    PutU32(record, 0, 5);
    PutU16(record, 4, function);
    PutU16(record, 6, static_cast<std::uint16_t>(static_cast<std::int16_t>(y)));
    PutU16(record, 8, static_cast<std::uint16_t>(static_cast<std::int16_t>(x)));
    return record;
}

// The metafile without a placeable header, its records led by a mapping of
// the frame onto libwmf's whole viewport.
std::string FramedForLibwmf(const std::string &bytes, const QRectF &frame)
{
    const std::size_t headerAt = WmfHeaderAt(Fields(bytes));
    std::string prefix(8, '\0');
    PutU32(prefix, 0, 4);
    PutU16(prefix, 4, kSetMapMode);
    PutU16(prefix, 6, kAnisotropic);
    prefix += WindowRecord(kSetWindowOrg, frame.left(), frame.top());
    prefix += WindowRecord(kSetWindowExt, frame.width(), frame.height());
    std::string framed = bytes.substr(headerAt, kWmfHeaderSize) + prefix + bytes.substr(headerAt + kWmfHeaderSize);
    const Fields fields(framed);
    PutU32(framed, 6, *fields.Dword(6) + static_cast<std::uint32_t>(prefix.size() / 2));  // total words
    PutU32(framed, 12, std::max<std::uint32_t>(*fields.Dword(12), 5));                      // largest record
    return framed;
}

// libwmf's SVG of the metafile, its frame filling the SVG's `size`; empty on failure.
QByteArray LibwmfSvg(std::string framed, QSize size)
{
    wmfAPI *api = nullptr;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return {};
    }
    QByteArray svg;
    wmfD_Rect box{};
    if (wmf_mem_open(api, reinterpret_cast<unsigned char *>(framed.data()), long(framed.size())) == wmf_E_None &&
        wmf_scan(api, 0, &box) == wmf_E_None) {
        wmf_svg_t *device = WMF_SVG_GetData(api);
        device->out = wmf_stream_create(api, nullptr);
        device->Description = const_cast<char *>("");
        device->bbox.TL = {0, 0};
        device->bbox.BR = {float(kLibwmfViewport), float(kLibwmfViewport)};
        device->width = unsigned(size.width());
        device->height = unsigned(size.height());
        const bool played = wmf_play(api, 0, &box) == wmf_E_None;
        char *text = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(api, device->out, &text, &length);
        if (played && text) svg = QByteArray(text, qsizetype(length));
    }
    wmf_api_destroy(api);
    return svg;
}

QImage RenderWmf(const std::string &bytes, QSize space)
{
    const auto frame = WmfFrame(bytes);
    if (!frame) return {};
    const QByteArray svg = LibwmfSvg(FramedForLibwmf(bytes, frame->drawn), frame->pixels);
    if (svg.isEmpty()) return {};
    return RenderSvg(svg, QRectF(QPointF(), QSizeF(frame->pixels)), frame->pixels, space);
}

}  // namespace

std::optional<MetafileFrame> EmfFrame(const std::string &bytes)
{
    const Fields fields(bytes);
    const auto size = fields.Dword(4);
    if (fields.Dword(0) != 1 || fields.Dword(kEmfSignature) != 0x464D4520 || !size || *size < kEmfHeaderSize ||
        !fields.Has(0, *size))
        return std::nullopt;
    const double left = *fields.Long(kEmfFrame), top = *fields.Long(kEmfFrame + 4);
    const double right = *fields.Long(kEmfFrame + 8), bottom = *fields.Long(kEmfFrame + 12);
    const double devicePixels[] = {double(*fields.Long(kEmfDevice)), double(*fields.Long(kEmfDevice + 4))};
    const double millimetres[] = {double(*fields.Long(kEmfMillimetres)), double(*fields.Long(kEmfMillimetres + 4))};
    if (devicePixels[0] <= 0 || devicePixels[1] <= 0 || millimetres[0] <= 0 || millimetres[1] <= 0 || right <= left ||
        bottom <= top)
        return std::nullopt;
    // The frame is in hundredths of a millimetre.
    const double deviceX = devicePixels[0] / (millimetres[0] * 100), deviceY = devicePixels[1] / (millimetres[1] * 100);
    const double screen = kScreenDpi / 2540;
    return Frame((right - left) * screen, (bottom - top) * screen,
                 QRectF(left * deviceX, top * deviceY, (right - left) * deviceX, (bottom - top) * deviceY));
}

std::optional<MetafileFrame> WmfFrame(const std::string &bytes)
{
    const Fields fields(bytes);
    if (!HasWmfHeader(fields)) return std::nullopt;
    if (!IsPlaceable(fields)) {
        const QRectF window = RecordedWindow(fields, kWmfHeaderSize);
        return Frame(window.width(), window.height(), window);
    }
    const double left = *fields.Short(6), top = *fields.Short(8), right = *fields.Short(10), bottom = *fields.Short(12);
    const double unitsPerInch = *fields.Word(14);
    if (unitsPerInch == 0) return std::nullopt;
    const QRectF box(left, top, right - left, bottom - top);
    if (std::abs(box.width()) > INT16_MAX || std::abs(box.height()) > INT16_MAX) return std::nullopt;
    return Frame(box.width() * kScreenDpi / unitsPerInch, box.height() * kScreenDpi / unitsPerInch, box);
}

QImage RenderMetafile(const std::string &bytes, QSize space)
{
    if (EmfFrame(bytes)) return RenderEmf(bytes, space);
    return RenderWmf(bytes, space);
}
