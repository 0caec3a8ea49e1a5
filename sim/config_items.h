// The items of the simulator's configuration: each key's parser, and the parsing helpers they
// share. The scanning and the maintenance side each add their own items.
#ifndef SCAN_FS_SIM_CONFIG_ITEMS_H
#define SCAN_FS_SIM_CONFIG_ITEMS_H

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "sim/sim_config.h"

using Fields = std::vector<std::string>;

// A number in `base` (16 allows a "0x" prefix) of at most `max`.
std::optional<unsigned long> ParseNumber(std::string_view text, int base, unsigned long max);

// The fields of one item ("key=field:field:..."), unescaped, with checks that describe what is
// wrong in the error text.
class ItemParser {
 public:
  ItemParser(std::string key, Fields fields, std::string& error)
      : key_(std::move(key)), fields_(std::move(fields)), error_(error) {}
  size_t count() const { return fields_.size(); }
  bool has(size_t i) const { return i < fields_.size() && !fields_[i].empty(); }
  const std::string& text(size_t i) const { return fields_[i]; }
  bool Fail(const std::string& what) {
    error_ = "simulator item '" + key_ + "': " + what;
    return false;
  }
  bool FieldCount(size_t least, size_t most) {
    if (fields_.size() < least || fields_.size() > most) return Fail("wrong number of fields");
    return true;
  }
  bool Decimal(size_t i, unsigned long max, auto& out) {
    if (i >= fields_.size()) return Fail("a field is missing");
    const auto value = ParseNumber(fields_[i], 10, max);
    if (!value)
      return Fail("'" + fields_[i] + "' is not a number from 0 to " + std::to_string(max));
    out = static_cast<std::remove_reference_t<decltype(out)>>(*value);
    return true;
  }
  bool Hex(size_t i, uint8_t& out) {
    if (i >= fields_.size()) return Fail("a field is missing");
    const auto value = ParseNumber(fields_[i], 16, 0xFF);
    if (!value) return Fail("'" + fields_[i] + "' is not a hex byte");
    out = static_cast<uint8_t>(*value);
    return true;
  }
  // Takes an "@N" suffix (or "@N+" where `andLater` is given) off `text`: the N-th occurrence,
  // counted from 1, or from the N-th on. Without a suffix `occurrence` stays 0 (every one).
  bool Occurrence(std::string& text, uint32_t& occurrence, bool* andLater) {
    const size_t at = text.find('@');
    if (at == std::string::npos) return true;
    std::string count = text.substr(at + 1);
    text.resize(at);
    if (andLater != nullptr && !count.empty() && count.back() == '+') {
      *andLater = true;
      count.pop_back();
    }
    const auto n = ParseNumber(count, 10, 1000000000);
    if (!n || *n == 0) return Fail("'@" + count + "' is not a count from 1");
    occurrence = static_cast<uint32_t>(*n);
    return true;
  }
  // An ASPI status a request ends with: any hex byte but 00h, which means still pending.
  bool Status(size_t i, uint8_t& out) {
    if (!Hex(i, out)) return false;
    if (out == SS_PENDING) return Fail("a request cannot end pending");
    return true;
  }
  bool Address(size_t i, uint8_t& adapter, uint8_t& target) {
    return Decimal(i, 255, adapter) && Decimal(i + 1, 7, target);
  }

 private:
  std::string key_;
  Fields fields_;
  std::string& error_;
};

using ItemHandler = std::function<bool(ItemParser&, SimConfig&)>;
using ItemTable = std::map<std::string, ItemHandler>;

// Items of the scanning side (sim/scan_config_items.cc).
void AddScanConfigItems(ItemTable& table);
// Items that plant defects into the image (sim/planted_defect_items.cc).
void AddPlantedDefectItems(ItemTable& table);
// Items of the maintenance side (sim/diagnostic_config_items.cc).
void AddDiagnosticConfigItems(ItemTable& table);

#endif
