#include "imaging/ThumbnailCache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Pictures of 100 x 25 (10,000 bytes) and 50 x 10 (2,000 bytes); a file
// named "bad" cannot be read.
struct CacheWithReads {
    CacheWithReads()
        : cache(
              [this](const std::string &path, QSize space) {
                  reads.push_back(path + "@" + std::to_string(space.width()));
                  return path == "bad" ? QImage() : QImage(space, QImage::Format_RGB32);
              },
              35000)
    {
    }
    std::vector<std::string> reads;
    ThumbnailCache cache;
};

const QSize kWide(100, 25);
const QSize kNarrow(50, 10);

}  // namespace

TEST(ThumbnailCache, ReadsEachPictureOnceForEachSpaceAndDropsTheLeastRecentlyUsedPastItsBound)
{
    CacheWithReads c;
    EXPECT_EQ(c.cache.Picture("a", kWide).size(), kWide);
    c.cache.Picture("b", kWide);
    c.cache.Picture("a", kWide);
    c.cache.Picture("a", kNarrow);
    c.cache.Picture("c", kWide);
    EXPECT_EQ(c.reads, (std::vector<std::string>{"a@100", "b@100", "a@50", "c@100"}));

    c.cache.Picture("d", kWide);  // passes the bound: "b" was used longest ago
    EXPECT_LE(c.cache.Bytes(), 35000u);
    c.reads.clear();
    for (const char *path : {"a", "c", "d"}) c.cache.Picture(path, kWide);
    c.cache.Picture("a", kNarrow);
    c.cache.Picture("b", kWide);
    EXPECT_EQ(c.reads, (std::vector<std::string>{"b@100"}));
    EXPECT_LE(c.cache.Bytes(), 35000u);
}

TEST(ThumbnailCache, UnreadablePicturesAreRememberedAndClearReadsEverythingAgain)
{
    CacheWithReads c;
    EXPECT_TRUE(c.cache.Picture("bad", kWide).isNull());
    EXPECT_TRUE(c.cache.Picture("bad", kWide).isNull());
    c.cache.Picture("a", kWide);
    EXPECT_EQ(c.reads, (std::vector<std::string>{"bad@100", "a@100"}));

    c.cache.Clear();
    EXPECT_EQ(c.cache.Bytes(), 0u);
    c.cache.Picture("a", kWide);
    EXPECT_EQ(c.reads.back(), "a@100");
    EXPECT_EQ(c.reads.size(), 3u);
}
