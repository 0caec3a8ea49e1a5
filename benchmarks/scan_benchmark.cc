// How fast a complete scan runs, as a user runs it: the real scan_fs, started as a process on the
// simulated scanner (`--simulate --batch scan:RES:MODE`), at each resolution, into memory and
// into img_fs.tif. Each scan is paired with a reference process that writes the same bytes with
// fwrite in 29000-byte chunks to a new file in the same directory; scan and reference run
// alternately, pair by pair, so that both see the same state of the machine, and the median of
// the per-pair ratios is reported with its spread. The simulated device's own time (making the
// image and copying it) is part of every scan's time. Then what --trace costs at 2720 dpi, paired
// the same way against scans without it, and what --inspect costs: while scanning at 2720 dpi,
// paired against scans without it, and of a 2720 dpi file, paired against a process that only
// reads the file.
//
//   scan_benchmark [--pairs N] [DIRECTORY]   (default 11 pairs, the current directory)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "scan/image_transfer.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint64_t kHeaderBytes = 216;

struct ProcessRun {
  bool ok;
  double seconds;
  long peakKiB;
};

// Starts `arguments` as a process with its output discarded, and waits for it.
ProcessRun RunProcess(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const auto started = Clock::now();
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return {false, 0, 0};
  int status = 0;
  struct rusage usage {};
  wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  return {WIFEXITED(status) && WEXITSTATUS(status) == 0, seconds, usage.ru_maxrss};
}

// The reference: `bytes` written with fwrite in 29000-byte chunks to a new file, then closed.
int WriteReference(uint64_t bytes) {
  std::vector<char> chunk(kLargestChunk, 'x');
  std::FILE* file = std::fopen("reference.bin", "wb");
  if (file == nullptr) return 1;
  for (uint64_t left = bytes; left > 0;) {
    const size_t piece = left < kLargestChunk ? left : kLargestChunk;
    std::fwrite(chunk.data(), piece, 1, file);
    left -= piece;
  }
  return std::fclose(file) == 0 ? 0 : 1;
}

struct Spread {
  double median, low, high;  // median and the quartiles around it
};

Spread SpreadOf(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const auto at = [&values](double fraction) {
    return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5)];
  };
  return {at(0.5), at(0.25), at(0.75)};
}

struct Pairs {
  bool ok = true;
  std::vector<double> first, second, ratios;
  long peakKiB = 0;        // of the first process of each pair
  long secondPeakKiB = 0;  // of the second
};

// Runs `first` and `second` alternately, `count` times, removing what they wrote in between.
Pairs RunPairs(int count, const std::vector<std::string>& first,
               const std::vector<std::string>& second) {
  Pairs pairs;
  for (int i = 0; i < count && pairs.ok; ++i) {
    std::filesystem::remove("img_fs.tif");
    const ProcessRun a = RunProcess(first);
    std::filesystem::remove("img_fs.tif");
    std::filesystem::remove("reference.bin");
    const ProcessRun b = RunProcess(second);
    std::filesystem::remove("reference.bin");
    pairs.ok = a.ok && b.ok && b.seconds > 0;
    pairs.first.push_back(a.seconds);
    pairs.second.push_back(b.seconds);
    pairs.ratios.push_back(b.seconds > 0 ? a.seconds / b.seconds : 0);
    pairs.peakKiB = std::max(pairs.peakKiB, a.peakKiB);
    pairs.secondPeakKiB = std::max(pairs.secondPeakKiB, b.peakKiB);
  }
  std::filesystem::remove("trace.jsonl");
  return pairs;
}

uint64_t ImageBytes(uint32_t resolution) {
  const uint64_t pixels = 2592ull * resolution / 2720;
  const uint64_t lines = 3888ull * resolution / 2720;
  return 3 * pixels * lines;
}

// Reads a file through in 29000-byte chunks, as a reader that does nothing with the bytes.
int ReadReference(const char* path) {
  std::vector<char> chunk(kLargestChunk);
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return 1;
  while (std::fread(chunk.data(), 1, chunk.size(), file) == chunk.size()) {
  }
  const bool read = std::ferror(file) == 0;
  std::fclose(file);
  return read ? 0 : 1;
}

std::vector<std::string> ScanCommand(uint32_t resolution, bool toFile, bool traced,
                                     bool inspected = false) {
  std::vector<std::string> command = {
      SCAN_FS_BINARY, "--simulate", "--batch",
      "scan:" + std::to_string(resolution) + (toFile ? ":file" : ":memory")};
  if (traced) command.insert(command.end(), {"--trace", "trace.jsonl"});
  if (inspected) command.push_back("--inspect");
  return command;
}

void PrintRatio(const char* name, const Pairs& pairs, bool withPeaks) {
  const Spread ratio = SpreadOf(pairs.ratios);
  std::printf("%-6s %7.2f  (%4.2f-%4.2f) %9.4f %9.4f", name, ratio.median, ratio.low, ratio.high,
              SpreadOf(pairs.first).median, SpreadOf(pairs.second).median);
  if (withPeaks) std::printf(" %9ld %9ld", pairs.peakKiB, pairs.secondPeakKiB);
  std::printf("%s\n", pairs.ok ? "" : "  FAILED");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-reference") == 0) {
    return WriteReference(std::strtoull(argv[2], nullptr, 10));
  }
  if (argc == 3 && std::strcmp(argv[1], "--read-reference") == 0) return ReadReference(argv[2]);
  int pairCount = 11;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--pairs") == 0 && i + 1 < argc) {
      pairCount = std::max(1, std::atoi(argv[++i]));
    } else {
      std::filesystem::current_path(argv[i]);
    }
  }
  const std::string self = std::filesystem::canonical("/proc/self/exe");

  std::printf("%d pairs of whole processes each; ratio: scan time over the reference write's\n\n",
              pairCount);
  std::printf("%-5s %-6s %9s %9s %9s %7s %13s %12s %9s\n", "dpi", "mode", "bytes", "scan s",
              "ref. s", "ratio", "(quartiles)", "us/chunk", "peak KiB");
  bool allOk = true;
  for (const uint32_t resolution : {340u, 680u, 1360u, 2720u}) {
    for (const bool toFile : {false, true}) {
      const uint64_t bytes = ImageBytes(resolution) + (toFile ? kHeaderBytes : 0);
      const Pairs pairs = RunPairs(pairCount, ScanCommand(resolution, toFile, false),
                                   {self, "--write-reference", std::to_string(bytes)});
      allOk = allOk && pairs.ok;
      const Spread ratio = SpreadOf(pairs.ratios);
      const double scan = SpreadOf(pairs.first).median;
      const double chunks =
          static_cast<double>((ImageBytes(resolution) + kLargestChunk - 1) / kLargestChunk);
      std::printf("%-5u %-6s %9llu %9.4f %9.4f %7.2f  (%4.2f-%4.2f) %12.1f %9ld%s\n", resolution,
                  toFile ? "file" : "memory", static_cast<unsigned long long>(bytes), scan,
                  SpreadOf(pairs.second).median, ratio.median, ratio.low, ratio.high,
                  scan * 1e6 / chunks, pairs.peakKiB, pairs.ok ? "" : "  FAILED");
    }
  }

  std::printf("\n--trace at 2720 dpi: scan with the trace over the same scan without it\n");
  for (const bool toFile : {false, true}) {
    const Pairs pairs =
        RunPairs(pairCount, ScanCommand(2720, toFile, true), ScanCommand(2720, toFile, false));
    allOk = allOk && pairs.ok;
    const Spread ratio = SpreadOf(pairs.ratios);
    std::printf("%-6s %7.2f  (%4.2f-%4.2f)%s\n", toFile ? "file" : "memory", ratio.median,
                ratio.low, ratio.high, pairs.ok ? "" : "  FAILED");
  }
  std::printf(
      "\n--inspect at 2720 dpi: while scanning, over the same scan without it; of a file,\n"
      "over a process that reads the file\n");
  std::printf("%-6s %7s  %11s %9s %9s %9s %9s\n", "", "ratio", "(quartiles)", "with s", "without s",
              "peak KiB", "without");
  for (const bool toFile : {false, true}) {
    const Pairs pairs = RunPairs(pairCount, ScanCommand(2720, toFile, false, true),
                                 ScanCommand(2720, toFile, false));
    allOk = allOk && pairs.ok;
    PrintRatio(toFile ? "file" : "memory", pairs, true);
  }
  // The file to inspect: a 2720 dpi scan, kept under another name than the scans replace.
  const bool scanned = RunProcess(ScanCommand(2720, true, false)).ok &&
                       std::rename("img_fs.tif", "inspected.tif") == 0;
  const Pairs ofFile = RunPairs(pairCount, {SCAN_FS_BINARY, "--inspect", "inspected.tif"},
                                {self, "--read-reference", "inspected.tif"});
  std::filesystem::remove("inspected.tif");
  allOk = allOk && scanned && ofFile.ok;
  PrintRatio("a file", ofFile, true);

  std::printf(
      "\nus/chunk: the whole scan process's time per READ of at most 29000 bytes (with its GET\n"
      "DATA BUFFER STATUS), start-up and the simulated device included: an upper bound of the\n"
      "program's own cost per chunk. peak KiB: the largest resident set of scan_fs itself.\n");
  return allOk ? 0 : 1;
}
