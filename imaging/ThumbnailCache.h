#pragma once

#include <QImage>
#include <QPixmap>

#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <string>
#include <utility>

// The thumbnails drawn most recently, up to a bound on the bytes they take:
// each is read on first use, and the least recently used go first when the
// bound is passed. A picture that cannot be read is remembered as a null
// pixmap, so that it is not read again on every paint.
class ThumbnailCache {
public:
    using Loader = std::function<QImage(const std::string &path, QSize space)>;

    ThumbnailCache(Loader loader, std::size_t byteBound);

    // The picture at `path` fitted into `space`.
    QPixmap Picture(const std::string &path, QSize space);
    // Forgets every picture, so that each is read again from its file.
    void Clear();

    std::size_t Bytes() const { return bytes_; }

private:
    using Key = std::pair<std::string, std::pair<int, int>>;
    struct Entry {
        Key key;
        QPixmap picture;
        std::size_t bytes;
    };

    void Add(Key key, QPixmap picture);

    Loader loader_;
    std::size_t byteBound_;
    std::size_t bytes_ = 0;
    std::list<Entry> recentFirst_;
    std::map<Key, std::list<Entry>::iterator> entries_;
};
