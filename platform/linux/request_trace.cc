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
  std::string line = DescribeRequest(requestBlock, status);
  line += '\n';
  std::lock_guard lock(mutex_);
  if (fd_ < 0 || error_ != 0) return;
  const bool first = lines_.empty();
  lines_ += line;
  if (lines_.size() >= kBlockSize) {
    WritePending();
  } else if (first) {
    pending_.notify_one();  // the writer's clock starts with the block's first line
  }
}

void RequestTrace::WritePending() {
  if (lines_.empty() || fd_ < 0 || error_ != 0) return;
  const off_t start = ::lseek(fd_, 0, SEEK_CUR);
  const size_t written = WriteAll(fd_, lines_.data(), lines_.size(), error_);
  if (error_ != 0) {
    // Back to the end of the last line that reached the file whole.
    const size_t lineEnd = written == 0 ? std::string::npos : lines_.rfind('\n', written - 1);
    const size_t kept = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    if (start >= 0 && ::ftruncate(fd_, start + static_cast<off_t>(kept)) == 0) {
      ::lseek(fd_, start + static_cast<off_t>(kept), SEEK_SET);
    }
  }
  lines_.clear();
}

void RequestTrace::WriteInTime() {
  std::unique_lock lock(mutex_);
  while (!closing_) {
    pending_.wait(lock, [this] { return closing_ || !lines_.empty(); });
    if (closing_) break;
    pending_.wait_for(lock, kLongestDelay, [this] { return closing_; });
    WritePending();
  }
}

int RequestTrace::Close() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  pending_.notify_one();
  if (writer_.joinable()) writer_.join();
  std::lock_guard lock(mutex_);
  WritePending();
  if (fd_ >= 0) {
    if (::close(fd_) != 0 && error_ == 0) error_ = errno;
    fd_ = -1;
  }
  return error_;
}
