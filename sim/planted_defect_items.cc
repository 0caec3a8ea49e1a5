// Configuration items that plant defects of the scanner's imaging into the image it delivers.
#include "sim/config_items.h"

namespace {

bool ParseChannel(ItemParser& item, size_t i, PlantedChannel& channel) {
  static const std::map<std::string, PlantedChannel> channels = {{"r", PlantedChannel::kRed},
                                                                 {"g", PlantedChannel::kGreen},
                                                                 {"b", PlantedChannel::kBlue},
                                                                 {"all", PlantedChannel::kAll}};
  const auto found = channels.find(item.text(i));
  if (found == channels.end()) return item.Fail("the channel is r, g, b or all");
  channel = found->second;
  return true;
}

// A count of levels with an optional sign: "-24", "+8", "12".
bool ParseOffset(ItemParser& item, size_t i, int& offset) {
  std::string text = item.text(i);
  const bool negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.erase(0, 1);
  const auto levels = ParseNumber(text, 10, 255);
  if (!levels) return item.Fail("'" + item.text(i) + "' is not an offset from -255 to 255");
  offset = negative ? -static_cast<int>(*levels) : static_cast<int>(*levels);
  return true;
}

// column=dead|stuck|weak|strong:FIRST[:WIDTH[:CHANNEL[:LEVEL]]]
bool ParseColumn(ItemParser& item, SimConfig& config) {
  static const std::map<std::string, std::pair<PlantedColumn::Kind, int>> kinds = {
      {"dead", {PlantedColumn::Kind::kDead, 0}},
      {"stuck", {PlantedColumn::Kind::kStuck, 255}},
      {"weak", {PlantedColumn::Kind::kWeak, 32}},
      {"strong", {PlantedColumn::Kind::kStrong, 32}}};
  if (!item.FieldCount(2, 5)) return false;
  const auto kind = kinds.find(item.text(0));
  if (kind == kinds.end()) return item.Fail("the kind is dead, stuck, weak or strong");
  PlantedColumn column;
  column.kind = kind->second.first;
  column.level = kind->second.second;
  if (!item.Decimal(1, 65535, column.first)) return false;
  if (item.has(2) && (!item.Decimal(2, 65535, column.width) || column.width == 0)) {
    return item.Fail("the width is 1 to 65535 sensor elements");
  }
  if (item.has(3) && !ParseChannel(item, 3, column.channel)) return false;
  if (item.has(4) && !item.Decimal(4, 255, column.level)) return false;
  config.scanner.scan.defects.columns.push_back(column);
  return true;
}

// band=FIRST:LINES:OFFSET[:CHANNEL]
bool ParseBand(ItemParser& item, SimConfig& config) {
  PlantedBand band;
  if (!item.FieldCount(3, 4) || !item.Decimal(0, 65535, band.first) ||
      !item.Decimal(1, 65535, band.lines) || !ParseOffset(item, 2, band.offset)) {
    return false;
  }
  if (band.lines == 0) return item.Fail("a band is at least one line");
  if (item.has(3) && !ParseChannel(item, 3, band.channel)) return false;
  config.scanner.scan.defects.bands.push_back(band);
  return true;
}

// dim=CHANNEL:PERCENT
bool ParseDim(ItemParser& item, SimConfig& config) {
  PlantedChannel channel = PlantedChannel::kAll;
  int percent = 100;
  if (!item.FieldCount(2, 2) || !ParseChannel(item, 0, channel) || !item.Decimal(1, 100, percent)) {
    return false;
  }
  for (int i = 0; i < 3; ++i) {
    if (channel == PlantedChannel::kAll || static_cast<int>(channel) == i) {
      config.scanner.scan.defects.channelPercent[i] = percent;
    }
  }
  return true;
}

// grain=SIGMA[:SEED]
bool ParseGrain(ItemParser& item, SimConfig& config) {
  PlantedDefects& defects = config.scanner.scan.defects;
  return item.FieldCount(1, 2) && item.Decimal(0, 64, defects.grainSigma) &&
         (!item.has(1) || item.Decimal(1, 0xFFFFFFFF, defects.grainSeed));
}

}  // namespace

void AddPlantedDefectItems(ItemTable& table) {
  table["column"] = ParseColumn;
  table["band"] = ParseBand;
  table["dim"] = ParseDim;
  table["grain"] = ParseGrain;
}
