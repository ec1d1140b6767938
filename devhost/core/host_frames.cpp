// The host's scene and frames: the scene applied to the model, each frame's drawables called.
#include "core/host.h"
#include "system/stop_request.h"

namespace devhost {

void Host::SetScene(Scene scene) {
  scene_ = std::move(scene);
  ApplySceneAt(nextFrame_);
}

void Host::SetStartTime(double seconds) {
  startTime_ = seconds;
  ApplySceneAt(nextFrame_);
}

void Host::ApplySceneAt(std::int64_t frame) {
  ApplyScene(scene_, startTime_ + static_cast<double>(frame) / scene_.fps, model_);
}

void Host::RenderFrames(std::int64_t count) {
  for (std::int64_t i = 0; i < count; ++i) RenderFrameAt(NextFrameTime(), canvas_);
}

double Host::NextFrameTime() const {
  return startTime_ + static_cast<double>(nextFrame_) / scene_.fps;
}

void Host::RenderFrameAt(double sceneSeconds, RecordingCanvas& canvas) {
  ThrowIfStopped();
  const auto address = reinterpret_cast<std::uintptr_t>(static_cast<devhost::Canvas*>(&canvas));
  const std::int64_t frame = nextFrame_++;
  ApplyScene(scene_, sceneSeconds, model_);
  PhaseScope phase(Phase::Frame, frame);
  // As they are now: a drawable may register another, and a plugin that faults loses its own.
  frameDrawables_ = model_.Drawables();
  // Let go of them however the frame ends: a module closed later must not hold the last copy.
  const struct LetGo {
    DrawableList& drawables;
    ~LetGo() { drawables.clear(); }
  } letGo{frameDrawables_};
  for (const auto& drawable : frameDrawables_)
    door_.Call(static_cast<LoadedPlugin*>(drawable->owner), {"drawable", {ObjectId{"canvas"}}},
               [&] { drawable->fn(CanvasWrapper(address)); });
}

}  // namespace devhost
