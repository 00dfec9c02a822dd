#pragma once

#include <cstddef>
#include <cstdint>

// The talk between the program and its metafile helper, over the helper's
// standard input and output. Per file, the program sends a request and the
// file's bytes; the helper answers with a reply and the picture's pixels:
// 32-bit premultiplied ARGB in the machine's byte order, rows from the top,
// packed. A reply of 0 x 0 means no picture. The helper ends when its input ends.
struct MetafileRequest {
    std::uint32_t width;   // the space the picture is fitted into
    std::uint32_t height;
    std::uint64_t length;  // of the file's bytes that follow
};

struct MetafileReply {
    std::uint32_t width;   // at most the request's width and height
    std::uint32_t height;
};

// Metafiles larger than this are not opened.
constexpr std::size_t kMetafileFileCap = std::size_t{16} << 20;

// The helper's file name, beside the program.
constexpr const char *kMetafileHelperName = "quorlin-metafile";
