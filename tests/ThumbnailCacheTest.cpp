#include "imaging/ThumbnailCache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Pictures of 100 x 25 take 10,000 bytes, of 50 x 10 2,000; "bad" cannot be read.
TEST(ThumbnailCache, ReadsEachPictureOnceForEachSpaceAndDropsTheLeastRecentlyUsedPastItsBound)
{
    std::vector<std::string> reads;
    ThumbnailCache cache(
        [&reads](const std::string &path, QSize space) {
            reads.push_back(path + "@" + std::to_string(space.width()));
            return path == "bad" ? QImage() : QImage(space, QImage::Format_RGB32);
        },
        35000);
    const QSize wide(100, 25), narrow(50, 10);
    EXPECT_EQ(cache.Picture("a", wide).size(), wide);
    EXPECT_TRUE(cache.Picture("bad", wide).isNull());
    for (const char *path : {"b", "a", "bad"}) cache.Picture(path, wide);
    cache.Picture("a", narrow);
    cache.Picture("c", wide);
    EXPECT_EQ(reads, (std::vector<std::string>{"a@100", "bad@100", "b@100", "a@50", "c@100"}));

    reads.clear();
    cache.Picture("d", wide);  // passes the bound: "b" was used longest ago
    for (const char *path : {"a", "c", "d", "bad"}) cache.Picture(path, wide);
    cache.Picture("a", narrow);
    cache.Picture("b", wide);
    EXPECT_EQ(reads, (std::vector<std::string>{"d@100", "b@100"}));
    EXPECT_LE(cache.Bytes(), 35000u);

    cache.Clear();
    EXPECT_EQ(cache.Bytes(), 0u);
    cache.Picture("a", wide);
    EXPECT_EQ(reads.back(), "a@100");
}
