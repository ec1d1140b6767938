#include "output/video_writer.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "sdk/number_text.h"
#include "system/atomic_file.h"
#include "system/words.h"

namespace devhost {

namespace {

constexpr std::size_t kWaiting = 2;

// The one place that knows how Image lays out its rows: ffmpeg takes them from the top.
bool WriteRows(PipedProcess& ffmpeg, const Image& image) {
  return ffmpeg.Write(image.rgba.data(), image.rgba.size());
}

bool ProgramOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path != nullptr ? path : "/bin:/usr/bin";  // posix_spawnp's default
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::string folder = folders.substr(start, end - start);
    const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec) && access(candidate.c_str(), X_OK) == 0)
      return true;
    if (end == folders.size()) return false;
    start = end + 1;
  }
}

std::vector<std::string> FfmpegArguments(const VideoFormat& format, Vector2 size, double fps,
                                         const std::string& output) {
  std::vector<std::string> args = Words("-nostdin -loglevel error -f rawvideo -pix_fmt rgba");
  args.insert(args.end(), {"-s", std::to_string(size.X) + "x" + std::to_string(size.Y),
                           "-framerate", DoubleText(fps), "-i", "pipe:0"});
  args.insert(args.end(), format.encoderOptions.begin(), format.encoderOptions.end());
  args.insert(args.end(), {"-f", format.muxer, "-y", output});
  return args;
}

}  // namespace

void RequireVideoPrograms() {
  for (const char* program : {"ffmpeg", "ffprobe"})
    if (!ProgramOnPath(program))
      throw std::runtime_error(std::string("--video: no ") + program +
                               " program on the PATH; install Debian's ffmpeg package");
}

VideoWriter::VideoWriter(std::string path, const VideoFormat& format, Vector2 size, double fps)
    : path_(std::move(path)),
      temporary_(TemporaryPathFor(path_)),
      ffmpeg_("ffmpeg", FfmpegArguments(format, size, fps, temporary_)),
      worker_([this] { Work(); }) {}

VideoWriter::~VideoWriter() {
  if (finished_) return;
  // Killed first, so that a write blocked on a full pipe returns and the worker can stop.
  ffmpeg_.Kill();
  StopWorker();
  ffmpeg_.Finish();
  std::error_code ec;
  std::filesystem::remove(temporary_, ec);
}

void VideoWriter::StopWorker() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (worker_.joinable()) worker_.join();
}

void VideoWriter::Write(std::shared_ptr<const Image> image) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return queue_.size() < kWaiting || inputClosed_; });
  if (inputClosed_) {
    lock.unlock();
    ThrowFailure();
  }
  queue_.push_back(std::move(image));
  ++frames_;
  changed_.notify_all();
}

void VideoWriter::Finish() {
  {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || inputClosed_; });
  }
  StopWorker();
  if (inputClosed_) ThrowFailure();
  if (const std::string ending = ffmpeg_.Finish(); !ending.empty()) ThrowFailure(ending);
  CheckComplete();
  ReplaceWithFinishedFile(temporary_, path_);
  finished_ = true;
}

// ffmpeg may end with 0 on a file it could not finish (a full disk cuts an MP4 before its index):
// the file counts only when ffprobe reads back every frame.
void VideoWriter::CheckComplete() {
  // Its answer goes to standard error (pipe:2), after any error lines, where PipedProcess keeps it.
  std::vector<std::string> args = Words(
      "-v error -select_streams v:0 -count_packets -show_entries stream=nb_read_packets "
      "-of csv=p=0 -o pipe:2");
  args.push_back(temporary_);
  PipedProcess ffprobe("ffprobe", args);
  const std::string ending = ffprobe.Finish();
  const std::vector<std::string> lines = ffprobe.ErrorLines();
  if (ending.empty() && !lines.empty() && lines.back() == std::to_string(frames_)) return;
  std::string message = path_ + ": ffmpeg left the video incomplete (" +
                        (ending.empty() && lines.size() == 1 ? lines.back() + " of " : "not all ") +
                        std::to_string(frames_) + " frames readable)";
  for (const auto& line : lines) message += "\n  ffprobe: " + line;
  throw std::runtime_error(message);
}

void VideoWriter::ThrowFailure(std::string ending) {
  // ffmpeg stopped reading: it has ended or is about to; its status and last lines say why.
  StopWorker();
  if (ending.empty()) ending = ffmpeg_.Finish();
  std::string message = path_ + ": ffmpeg " +
                        (ending.empty() ? "stopped reading the frames" : "failed (" + ending + ")");
  for (const auto& line : ffmpeg_.ErrorLines()) message += "\n  ffmpeg: " + line;
  throw std::runtime_error(message);
}

void VideoWriter::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !queue_.empty() || stopping_; });
    if (stopping_) return;
    const std::shared_ptr<const Image> image = std::move(queue_.front());
    queue_.pop_front();
    busy_ = true;
    lock.unlock();
    const bool written = WriteRows(ffmpeg_, *image);
    lock.lock();
    busy_ = false;
    if (!written) {
      inputClosed_ = true;
      queue_.clear();
    }
    changed_.notify_all();
    if (!written) return;
  }
}

}  // namespace devhost
