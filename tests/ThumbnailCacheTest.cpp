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
    const auto readsFor = [&](std::initializer_list<std::pair<const char *, QSize>> uses) {
        reads.clear();
        for (const auto &[path, space] : uses) cache.Picture(path, space);
        return reads;
    };
    EXPECT_EQ(cache.Picture("a", wide).size(), wide);
    EXPECT_TRUE(cache.Picture("bad", wide).isNull());
    EXPECT_EQ(readsFor({{"b", wide}, {"a", wide}, {"bad", wide}, {"a", narrow}, {"c", wide}}),
              (std::vector<std::string>{"b@100", "a@50", "c@100"}));
    // "d" passes the bound: "b" was used longest ago.
    EXPECT_EQ(readsFor({{"d", wide}, {"a", wide}, {"c", wide}, {"d", wide}, {"bad", wide}, {"a", narrow}, {"b", wide}}),
              (std::vector<std::string>{"d@100", "b@100"}));
    EXPECT_LE(cache.Bytes(), 35000u);
    cache.Clear();
    EXPECT_EQ(cache.Bytes(), 0u);
    EXPECT_EQ(readsFor({{"a", wide}}), std::vector<std::string>{"a@100"});
}
