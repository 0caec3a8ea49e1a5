#include "sim/sim_config.h"

#include "sim/config_items.h"

#include <charconv>
#include <functional>
#include <map>

namespace {

// Splits at `separator` where it is not escaped by a backslash; escapes stay in the pieces.
std::vector<std::string> SplitUnescaped(std::string_view text, char separator) {
  std::vector<std::string> pieces(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      pieces.back() += text.substr(i, 2);
      ++i;
    } else if (text[i] == separator) {
      pieces.emplace_back();
    } else {
      pieces.back() += text[i];
    }
  }
  return pieces;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "\xHH" is the byte HH; a backslash before any other character stands for that character.
std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (i + 1 >= text.size()) return std::nullopt;
    if (text[i + 1] == 'x') {
      const int high = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
      const int low = i + 3 < text.size() ? HexDigit(text[i + 3]) : -1;
      if (high < 0 || low < 0) return std::nullopt;
      out += static_cast<char>(high * 16 + low);
      i += 3;
    } else {
      out += text[i + 1];
      ++i;
    }
  }
  return out;
}

}  // namespace

std::optional<unsigned long> ParseNumber(std::string_view text, int base, unsigned long max) {
  if (base == 16 && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
  }
  unsigned long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max) {
    return std::nullopt;
  }
  return value;
}

namespace {

AdapterSetup& Adapter(SimConfig& config, size_t index) {
  if (config.adapters.size() <= index) config.adapters.resize(index + 1);
  return config.adapters[index];
}

bool ParseFault(ItemParser& item, SimConfig& config) {
  if (!item.FieldCount(1, 6)) return false;
  CommandFault fault;
  std::string command = item.text(0);
  if (!item.Occurrence(command, fault.occurrence, &fault.andLater)) return false;
  const auto code = OperationCodeByName(command);
  if (!code) return item.Fail("unknown command '" + command + "'");
  fault.operationCode = *code;
  if (item.has(1) && !item.Status(1, fault.aspiStatus)) return false;
  if (item.has(2) && !item.Hex(2, fault.hostAdapterStatus)) return false;
  if (item.count() == 4 && item.text(3) == "none") {
    fault.withSense = false;
  } else if (item.count() > 3) {
    if (!item.FieldCount(6, 6)) return false;
    if (!item.Hex(3, fault.senseKey) || !item.Hex(4, fault.asc) || !item.Hex(5, fault.ascq)) {
      return false;
    }
  }
  config.scanner.faults.push_back(fault);
  return true;
}

const ItemTable& ItemHandlers() {
  static const ItemTable handlers = [] {
    ItemTable table = {
        {"model",
         [](ItemParser& item, SimConfig& config) {
           if (!item.FieldCount(1, 1)) return false;
           const std::string& model = item.text(0);
           if (model == "t1" || model == "T1") {
             config.scanner.model = ScannerModel::kT1;
           } else if (model == "t2" || model == "T2") {
             config.scanner.model = ScannerModel::kT2;
           } else if (model == "none") {
             config.scanner.model = ScannerModel::kNone;
           } else {
             return item.Fail("model is t1, t2 or none");
           }
           return true;
         }},
        {"scanner",
         [](ItemParser& item, SimConfig& config) {
           return item.FieldCount(2, 2) &&
                  item.Address(0, config.scanner.adapter, config.scanner.target);
         }},
        {"adapters",
         [](ItemParser& item, SimConfig& config) {
           return item.FieldCount(1, 1) && item.Decimal(0, 255, config.adapterCount);
         }},
        {"adapter",
         [](ItemParser& item, SimConfig& config) {
           uint8_t index = 0;
           if (!item.FieldCount(2, 4) || !item.Decimal(0, 255, index)) return false;
           AdapterSetup& adapter = Adapter(config, index);
           if (!item.Decimal(1, 255, adapter.scsiId)) return false;
           if (item.count() > 2) adapter.managerId = item.text(2);
           if (item.count() > 3) adapter.identifier = item.text(3);
           return true;
         }},
        {"reject",
         [](ItemParser& item, SimConfig& config) {
           uint8_t index = 0;
           if (!item.FieldCount(1, 2) || !item.Decimal(0, 255, index)) return false;
           AdapterSetup& adapter = Adapter(config, index);
           adapter.inquiryStatus = SS_INVALID_HA;
           return !item.has(1) || item.Status(1, adapter.inquiryStatus);
         }},
        {"device",
         [](ItemParser& item, SimConfig& config) {
           OtherDevice device;
           if (!item.FieldCount(3, 5) || !item.Address(0, device.adapter, device.target)) {
             return false;
           }
           device.product = item.text(2);
           if (item.count() > 3) device.vendor = item.text(3);
           if (item.count() > 4) device.revision = item.text(4);
           config.devices.push_back(device);
           return true;
         }},
        {"selfail",
         [](ItemParser& item, SimConfig& config) {
           TargetFailure failure{0, 0, SS_ERR, HASTAT_SEL_TO};
           if (!item.FieldCount(2, 3) || !item.Address(0, failure.adapter, failure.target)) {
             return false;
           }
           if (item.has(2) && !item.Hex(2, failure.hostAdapterStatus)) return false;
           config.targetFailures.push_back(failure);
           return true;
         }},
        {"status",
         [](ItemParser& item, SimConfig& config) {
           TargetFailure failure;
           if (!item.FieldCount(3, 3) || !item.Address(0, failure.adapter, failure.target) ||
               !item.Status(2, failure.aspiStatus)) {
             return false;
           }
           config.targetFailures.push_back(failure);
           return true;
         }},
        {"aspi",
         [](ItemParser& item, SimConfig& config) {
           return item.FieldCount(1, 1) && item.Status(0, config.supportStatus);
         }},
        {"late",
         [](ItemParser& item, SimConfig& config) {
           int ms = 0;
           if (!item.FieldCount(0, 1)) return false;
           if (item.has(0) && !item.Decimal(0, 60000, ms)) return false;
           config.lateCompletionMs = ms;
           return true;
         }},
        {"vendor",
         [](ItemParser& item, SimConfig& config) {
           if (!item.FieldCount(1, 1)) return false;
           config.scanner.vendor = item.text(0);
           return true;
         }},
        {"product",
         [](ItemParser& item, SimConfig& config) {
           if (!item.FieldCount(1, 1)) return false;
           config.scanner.product = item.text(0);
           return true;
         }},
        {"revision",
         [](ItemParser& item, SimConfig& config) {
           if (!item.FieldCount(1, 1)) return false;
           config.scanner.revision = item.text(0);
           return true;
         }},
        {"inquirylen",
         [](ItemParser& item, SimConfig& config) {
           return item.FieldCount(1, 1) && item.Decimal(0, 36, config.scanner.inquiryLength);
         }},
        {"attention",
         [](ItemParser& item, SimConfig& config) {
           if (!item.FieldCount(1, 1)) return false;
           if (item.text(0) != "on" && item.text(0) != "off") return item.Fail("on or off");
           config.scanner.unitAttention = item.text(0) == "on";
           return true;
         }},
        {"fail", ParseFault},
    };
    AddScanConfigItems(table);
    AddPlantedDefectItems(table);
    AddDiagnosticConfigItems(table);
    return table;
  }();
  return handlers;
}

bool ParseItem(const std::string& rawItem, SimConfig& config, std::string& error) {
  const size_t equals = rawItem.find('=');
  const std::string key = rawItem.substr(0, equals);
  const auto handler = ItemHandlers().find(key);
  if (handler == ItemHandlers().end()) {
    error = "unknown simulator item '" + key + "'";
    return false;
  }
  Fields fields;
  if (equals != std::string::npos) {
    for (const std::string& raw : SplitUnescaped(rawItem.substr(equals + 1), ':')) {
      const auto field = Unescape(raw);
      if (!field) {
        error = "simulator item '" + key + "': bad escape in '" + raw + "'";
        return false;
      }
      fields.push_back(*field);
    }
  }
  ItemParser item(key, std::move(fields), error);
  return handler->second(item, config);
}

}  // namespace

std::vector<std::string> SimConfigItemNames() {
  std::vector<std::string> names;
  for (const auto& [name, handler] : ItemHandlers()) names.push_back(name);
  return names;
}

std::optional<uint8_t> OperationCodeByName(std::string_view name) {
  static const std::map<std::string, uint8_t, std::less<>> codes = {
      {"tur", 0x00},  {"inquiry", 0x12},  {"reserve", 0x16},   {"release", 0x17},
      {"scan", 0x1B}, {"diag", 0x1D},     {"setwindow", 0x24}, {"read", 0x28},
      {"send", 0x2A}, {"position", 0x31}, {"status", 0x34},    {"readbuffer", 0x3C},
      {"mode", 0xD6}, {"focus", 0xE0},
  };
  if (const auto found = codes.find(name); found != codes.end()) return found->second;
  if (const auto code = ParseNumber(name, 16, 0xFF)) return static_cast<uint8_t>(*code);
  return std::nullopt;
}

std::optional<SimConfig> ParseSimConfig(std::string_view text, std::string& error) {
  SimConfig config;
  if (!text.empty()) {
    for (const std::string& item : SplitUnescaped(text, ',')) {
      if (item.empty()) continue;
      if (!ParseItem(item, config, error)) return std::nullopt;
    }
  }
  if (config.adapters.size() < static_cast<size_t>(config.adapterCount)) {
    config.adapters.resize(config.adapterCount);
  }
  for (size_t i = 0; i < config.adapters.size(); ++i) {
    if (config.adapters[i].identifier.empty()) {
      config.adapters[i].identifier = "Sim SCSI Host " + std::to_string(i);
    }
  }
  return config;
}
