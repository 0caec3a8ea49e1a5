// How fast a complete simulated scan runs at each resolution, into memory and into img_fs.tif,
// beside the same bytes written with fwrite in 29000-byte chunks; the program's own time per
// chunk (everything but the simulated device); and the peak memory of each scan.
//
//   scan_benchmark [DIRECTORY]   (default: the current directory)
//
// Each scan runs in a child process, so that its peak resident set is its own. Every measurement
// is taken five times and the fastest kept; both the scan and the reference write a new file.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/front_end.h"
#include "platform/linux/linux_ui.h"
#include "scan/image_transfer.h"
#include "scan/negative_film_scan.h"
#include "shell/program_state.h"
#include "sim/simulated_bus.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers every box with OK and remembers whether a warning appeared.
class QuietFrontEnd : public FrontEnd {
 public:
  int ShowMessageBox(const MessageBoxRequest& box) override {
    if (box.type & kMbIconHand) warned = true;
    return kIdOk;
  }
  void RunDialog(DialogSession&) override {}
  bool warned = false;
};

// Measures the time spent inside the manager, which stands for the device and its bus.
class TimedManager : public AspiManager {
 public:
  explicit TimedManager(AspiManager& inner) : inner_(inner) {}
  uint32_t GetSupportInfo() override { return inner_.GetSupportInfo(); }
  uint32_t SendCommand(void* block) override {
    const auto started = Clock::now();
    const uint32_t result = inner_.SendCommand(block);
    inside += Clock::now() - started;
    ++requests;
    return result;
  }
  Clock::duration inside{};
  long requests = 0;

 private:
  AspiManager& inner_;
};

struct ScanResult {
  bool ok;
  double seconds;
  double deviceSeconds;
  long chunks;
  uint64_t bytes;
  long peakKiB;
};

ScanResult ScanOnce(uint32_t resolution, bool toFile) {
  std::string error;
  SimulatedBus bus(*ParseSimConfig("", error));
  TimedManager timed(bus);
  QuietFrontEnd frontEnd;
  UseAspiManager(&timed);
  UseFrontEnd(&frontEnd);
  CreateMainWindow();
  scanResolution = resolution;
  saveToFile = toFile ? 1 : 0;
  timed.inside = {};
  timed.requests = 0;

  const auto started = Clock::now();
  const bool ok = ScanNegativeFilm(nullptr) && !frontEnd.warned;
  const auto elapsed = Clock::now() - started;

  ScanResult result{};
  result.ok = ok;
  result.seconds = std::chrono::duration<double>(elapsed).count();
  result.deviceSeconds = std::chrono::duration<double>(timed.inside).count();
  result.bytes = static_cast<uint64_t>(bytesPerLine) * imageLines;
  result.chunks = static_cast<long>((result.bytes + kLargestChunk - 1) / kLargestChunk);
  UseFrontEnd(nullptr);
  UseAspiManager(nullptr);
  return result;
}

// Runs the scan in a child process and adds the child's peak resident set.
ScanResult ScanInChild(uint32_t resolution, bool toFile) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    const ScanResult result = ScanOnce(resolution, toFile);
    const ssize_t written = write(pipeEnds[1], &result, sizeof result);
    _exit(written == sizeof result ? 0 : 1);
  }
  close(pipeEnds[1]);
  ScanResult result{};
  const ssize_t got = read(pipeEnds[0], &result, sizeof result);
  close(pipeEnds[0]);
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  if (got != sizeof result || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  result.peakKiB = usage.ru_maxrss;
  return result;
}

// The same number of bytes written with fwrite in 29000-byte chunks, then closed.
double ReferenceSeconds(uint64_t bytes) {
  std::vector<char> chunk(kLargestChunk, 'x');
  const auto started = Clock::now();
  std::FILE* file = std::fopen("reference.bin", "wb");
  if (file == nullptr) return 0;
  for (uint64_t left = bytes; left > 0;) {
    const size_t piece = left < kLargestChunk ? left : kLargestChunk;
    std::fwrite(chunk.data(), piece, 1, file);
    left -= piece;
  }
  std::fclose(file);
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  std::filesystem::remove("reference.bin");
  return seconds;
}

double MegabytesPerSecond(uint64_t bytes, double seconds) {
  return seconds > 0 ? bytes / 1e6 / seconds : 0;
}

constexpr int kRepeats = 5;

ScanResult FastestScan(uint32_t resolution, bool toFile) {
  ScanResult fastest{};
  for (int i = 0; i < kRepeats; ++i) {
    std::filesystem::remove("img_fs.tif");
    const ScanResult scan = ScanInChild(resolution, toFile);
    if (i == 0 || !scan.ok || scan.seconds < fastest.seconds) fastest = scan;
    if (!scan.ok) break;
  }
  return fastest;
}

double FastestReference(uint64_t bytes) {
  double fastest = 0;
  for (int i = 0; i < kRepeats; ++i) {
    const double seconds = ReferenceSeconds(bytes);
    if (i == 0 || seconds < fastest) fastest = seconds;
  }
  return fastest;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) std::filesystem::current_path(argv[1]);
  std::printf("%-6s %-6s %10s %9s %9s %11s %8s %12s %10s\n", "dpi", "mode", "bytes", "seconds",
              "MB/s", "fwrite MB/s", "ratio", "own us/chunk", "peak KiB");
  bool allOk = true;
  for (const uint32_t resolution : {340u, 680u, 1360u, 2720u}) {
    for (const bool toFile : {false, true}) {
      const ScanResult scan = FastestScan(resolution, toFile);
      allOk = allOk && scan.ok;
      const double reference = FastestReference(scan.bytes);
      const double ownMicroseconds =
          scan.chunks > 0 ? (scan.seconds - scan.deviceSeconds) * 1e6 / scan.chunks : 0;
      std::printf("%-6u %-6s %10llu %9.3f %9.1f %11.1f %8.2f %12.2f %10ld%s\n", resolution,
                  toFile ? "file" : "memory", static_cast<unsigned long long>(scan.bytes),
                  scan.seconds, MegabytesPerSecond(scan.bytes, scan.seconds),
                  MegabytesPerSecond(scan.bytes, reference),
                  reference > 0 ? scan.seconds / reference : 0, ownMicroseconds, scan.peakKiB,
                  scan.ok ? "" : "  FAILED");
    }
  }
  std::filesystem::remove("img_fs.tif");
  std::printf(
      "\nratio: scan time over the fwrite reference; own us/chunk: time outside the\n"
      "simulated device per READ of at most 29000 bytes (with its GET DATA BUFFER STATUS)\n");
  return allOk ? 0 : 1;
}
