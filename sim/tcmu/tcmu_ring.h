// The kernel's user-space backstore ring (target_core_user): one shared mapping that holds a
// mailbox, a ring of command entries and a data area. The kernel puts an entry for each SCSI
// command between the mailbox's tail and head; the device answers each entry in place (status,
// sense data, how many bytes it returned) and moves the tail past it.
#ifndef SCAN_FS_SIM_TCMU_TCMU_RING_H
#define SCAN_FS_SIM_TCMU_TCMU_RING_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>

// A device's answer to one command.
struct TargetReply {
  uint8_t status = 0;                // SCSI status byte
  std::array<uint8_t, 18> sense{};   // fixed-format sense data, with a CHECK CONDITION
  std::optional<uint32_t> returned;  // bytes returned in the data-in phase
};

// `cdb` holds the bytes the kernel laid into the entry (at least the whole CDB); `data` the
// command's data: what the initiator sent, or room for what the device returns.
using TargetCommandHandler =
    std::function<TargetReply(std::span<const uint8_t> cdb, std::span<uint8_t> data)>;

class TcmuRing {
 public:
  // `mapping` is the whole shared area; it must outlive the ring.
  explicit TcmuRing(std::span<uint8_t> mapping) : mapping_(mapping) {}

  // The mailbox is one this program understands and lies inside the mapping with its ring.
  bool Valid() const;
  // Answers every command entry from the tail to the head, moves the tail past them, and returns
  // how many commands were answered; nothing when the ring is damaged.
  std::optional<size_t> ServePending(const TargetCommandHandler& handler);

 private:
  bool Answer(size_t entryOffset, size_t entryLength, const TargetCommandHandler& handler);
  bool Inside(uint64_t offset, uint64_t length) const;

  std::span<uint8_t> mapping_;
};

#endif
