#include "imaging/ThumbnailCache.h"

namespace {

// What an entry takes besides its pixels: list and map nodes, the path.
constexpr std::size_t kEntryOverhead = 256;

}  // namespace

ThumbnailCache::ThumbnailCache(Loader loader, std::size_t byteBound)
    : loader_(std::move(loader)), byteBound_(byteBound)
{
}

QPixmap ThumbnailCache::Picture(const std::string &path, QSize space)
{
    Key key{path, {space.width(), space.height()}};
    const auto found = entries_.find(key);
    if (found != entries_.end()) {
        recentFirst_.splice(recentFirst_.begin(), recentFirst_, found->second);
        return found->second->picture;
    }
    const QPixmap picture = QPixmap::fromImage(loader_(path, space));
    Add(std::move(key), picture);
    return picture;
}

void ThumbnailCache::Add(Key key, QPixmap picture)
{
    const std::size_t bytes = std::size_t(picture.width()) * std::size_t(picture.height()) *
                                  std::size_t(picture.depth() / 8) + key.first.size() + kEntryOverhead;
    recentFirst_.push_front({key, std::move(picture), bytes});
    entries_.emplace(std::move(key), recentFirst_.begin());
    bytes_ += bytes;
    while (bytes_ > byteBound_ && recentFirst_.size() > 1) {
        bytes_ -= recentFirst_.back().bytes;
        entries_.erase(recentFirst_.back().key);
        recentFirst_.pop_back();
    }
}

void ThumbnailCache::Clear()
{
    recentFirst_.clear();
    entries_.clear();
    bytes_ = 0;
}
