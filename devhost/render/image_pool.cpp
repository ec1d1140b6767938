#include "render/image_pool.h"

namespace devhost {

std::shared_ptr<Image> ImagePool::Take(int width, int height) {
  std::unique_ptr<Image> image;
  {
    std::lock_guard lock(spares_->mutex);
    if (!spares_->images.empty()) {
      image = std::move(spares_->images.back());
      spares_->images.pop_back();
    }
  }
  if (image == nullptr) image = std::make_unique<Image>();
  image->width = width;
  image->height = height;
  // Allocates and clears only when the size grows.
  image->rgba.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4);
  return {image.release(), [spares = spares_](Image* used) {
            std::lock_guard lock(spares->mutex);
            spares->images.emplace_back(used);
          }};
}

}  // namespace devhost
