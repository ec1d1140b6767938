// Pictures' memory used again from frame to frame: reading a frame into a fresh 8 MB buffer costs
// more in page faults than the reading itself. A picture taken from the pool goes back to it when
// its last holder lets go of it, on any thread, so a run of frames allocates only as many as are
// in flight at once.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "render/image.h"

namespace devhost {

class ImagePool {
 public:
  // A picture of this size holding whatever pixels its memory held before.
  std::shared_ptr<Image> Take(int width, int height);

 private:
  struct Spares {
    std::mutex mutex;
    std::vector<std::unique_ptr<Image>> images;
  };
  // Shared with the pictures taken, which may outlive the pool.
  std::shared_ptr<Spares> spares_ = std::make_shared<Spares>();
};

}  // namespace devhost
