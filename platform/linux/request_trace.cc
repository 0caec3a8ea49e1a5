#include "platform/linux/request_trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/linux/request_json.h"

namespace {

constexpr size_t kBlockSize = 64 * 1024;
constexpr std::chrono::milliseconds kLongestDelay{100};

// Writes as much of `data` as the file takes, going on after a partial write; returns the bytes
// written, and sets `error` when that is not all of them.
size_t WriteAll(int fd, const char* data, size_t length, int& error) {
  size_t written = 0;
  while (written < length) {
    const ssize_t piece = ::write(fd, data + written, length - written);
    if (piece < 0 && errno == EINTR) continue;
    if (piece <= 0) {
      error = piece < 0 && errno != 0 ? errno : EIO;
      break;
    }
    written += static_cast<size_t>(piece);
  }
  return written;
}

}  // namespace

bool RequestTrace::Open(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) return false;
  writer_ = std::thread([this] { WriteInTime(); });
  return true;
}

RequestTrace::~RequestTrace() {
  Close();
}

void RequestTrace::Record(const void* requestBlock, uint8_t status) {
  if (error_ != 0) return;
  std::lock_guard lock(mutex_);
  if (fd_ < 0) return;
  const bool first = lines_.empty();
  AppendRequestLine(lines_, requestBlock, status);
  // The writer's clock starts with a block's first line; a full block goes out at once.
  if (first || lines_.size() >= kBlockSize) pending_.notify_one();
}

void RequestTrace::WriteBlock(const std::string& block) {
  if (block.empty() || error_ != 0) return;
  const off_t start = ::lseek(fd_, 0, SEEK_CUR);
  int error = 0;
  const size_t written = WriteAll(fd_, block.data(), block.size(), error);
  if (error == 0) return;
  error_ = error;
  // Back to the end of the last line that reached the file whole.
  const size_t lineEnd = written == 0 ? std::string::npos : block.rfind('\n', written - 1);
  const off_t kept = start + static_cast<off_t>(lineEnd == std::string::npos ? 0 : lineEnd + 1);
  if (start >= 0 && ::ftruncate(fd_, kept) == 0) ::lseek(fd_, kept, SEEK_SET);
}

void RequestTrace::WriteInTime() {
  std::string block;
  std::unique_lock lock(mutex_);
  for (;;) {
    pending_.wait(lock, [this] { return closing_ || !lines_.empty(); });
    pending_.wait_for(lock, kLongestDelay,
                      [this] { return closing_ || lines_.size() >= kBlockSize; });
    const bool last = closing_;
    block.swap(lines_);
    lock.unlock();
    WriteBlock(block);
    block.clear();
    lock.lock();
    if (last && lines_.empty()) return;
  }
}

int RequestTrace::Close() {
  {
    std::lock_guard lock(mutex_);
    if (fd_ < 0) return error_;
    closing_ = true;
  }
  pending_.notify_one();
  if (writer_.joinable()) writer_.join();
  std::lock_guard lock(mutex_);
  if (::close(fd_) != 0 && error_ == 0) error_ = errno;
  fd_ = -1;
  return error_;
}
