// The real program's JSON document (--batch ... --json), read with nlohmann-json: each result
// checked against what the simulated scanner was told to be and to do wrong.
#include <gtest/gtest.h>

#include <csignal>
#include <nlohmann/json.hpp>

#include "platform/batch/batch_front_end.h"
#include "tests/support/run_program.h"

namespace {

using nlohmann::json;
using Lines = std::vector<std::string>;

struct Expected {
  const char* pointer;  // into the document
  const char* value;    // JSON
};

struct JsonCase {
  const char* what;
  std::vector<std::string> arguments;  // --json is added
  int exitStatus;
  std::vector<Expected> results;
};

constexpr char kSoundT2[] =
    R"({"adapter":0,"target":2,"vendor":"QUORVEL","product":"ZR-40123B","model":"Tessaline T2",
        "revision":"1.32"})";

// The document's texts back as the program's bytes (each character stands for one byte).
std::string Bytes(const json& text) {
  std::string bytes;
  const std::string utf8 = text.get<std::string>();
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    bytes += byte < 0x80 ? utf8[i] : static_cast<char>(((byte & 0x03) << 6) | (utf8[++i] & 0x3F));
  }
  return EscapeBatchText(bytes);
}

// The line format rebuilt from the document; a command's dialog came before its boxes.
Lines AsBatchLines(const json& document) {
  Lines out;
  const auto section = [&out](const std::string& name, const json& entry) {
    out.push_back("# " + name);
    if (entry.value("unavailable", false)) out.push_back("unavailable " + Bytes(entry["command"]));
    for (const json& dialog : entry.value("dialogs", json::array())) {
      out.push_back("dialog " + Bytes(dialog["caption"]));
      for (const json& text : dialog["texts"]) out.push_back("text " + Bytes(text));
      for (const json& click : dialog["clicks"]) out.push_back("click " + Bytes(click));
      if (dialog["closed"]) out.push_back("close");
    }
    for (const json& box : entry["boxes"]) {
      out.push_back("box " + Bytes(box["caption"]) + ": " + Bytes(box["text"]));
    }
    for (const json& line : entry["lines"]) {
      out.push_back("line " + std::to_string(line["x"].get<int>()) + " " +
                    std::to_string(line["y"].get<int>()) + " " + Bytes(line["text"]));
    }
  };
  section("start", document["start"]);
  for (const json& command : document["commands"]) section(Bytes(command["name"]), command);
  return out;
}

TEST(BatchJsonEndToEnd, ResultsAreTheSimulatedScannersValuesAndFaults) {
  const std::vector<JsonCase> cases = {
      {"a sound T2",
       {"--simulate", "--batch", "board,info,save,diag1,diag2,scan:340:file"},
       0,
       {{"/start/scanner", kSoundT2},
        {"/commands/0/adapters",
         R"([{"board":0,"status":1,"scsi_id":7,"manager":"Sim ASPI Manager",
              "name":"Sim SCSI Host 0"}])"},
        {"/commands/1/scanner", kSoundT2},
        {"/commands/2/data", R"({"file":"test_dat.txt","lamp_hours":318,"scan_count":4127})"},
        {"/commands/3/diagnostic",
         R"({"test":"self-test","verdict":"no problem","faults":[],"status":1,
             "host_adapter_status":0})"},
        {"/commands/4/diagnostic",
         R"({"test":"memory and logic","verdict":"no problem","faults":[],"status":1,
             "result_code":0})"},
        {"/commands/5/scan",
         R"({"resolution":340,"mode":"file","file":"img_fs.tif","bytes_per_line":972,
             "lines":486,"bytes_announced":472392,"bytes_received":472392,"complete":true})"},
        {"/exit", R"({"status":0,"reasons":[]})"}}},
      {"a faulty T1 behind a rejecting adapter, with device texts that are not ASCII",
       {"--simulate=model=t1,adapters=2,reject=0,scanner=1:3,adapter=1:5:My\\x01Manager:Host\\xff,"
        "vendor=Q\\xe9,selftest=fail,shortread=100@2",
        "--batch", "board,info,save,diag1,diag2,scan:1360:memory"},
       1,
       {{"/commands/0/adapters",
         R"([{"board":0,"status":129},
             {"board":1,"status":1,"scsi_id":5,"manager":"My\u0001Manager","name":"Host\u00ff"}])"},
        {"/commands/1/scanner",
         R"({"adapter":1,"target":3,"vendor":"Q\u00e9","product":"ZR-40113A",
             "model":"Tessaline T1","revision":"1.10"})"},
        {"/commands/2/unavailable", "true"},
        {"/commands/3/diagnostic",
         R"({"test":"self-test","verdict":"problem","faults":["Lamp error"],"status":4,
             "host_adapter_status":0,"sense_key":4,"asc":96,"ascq":0})"},
        {"/commands/4/unavailable", "true"},
        {"/commands/5/scan",
         R"({"resolution":1360,"mode":"memory","file":null,"bytes_per_line":3888,"lines":1944,
             "bytes_announced":7558272,"bytes_received":7529372,"complete":false})"},
        {"/exit/reasons/0/command", R"("board")"},
        {"/exit/reasons/1", R"({"reason":"unavailable","command":"save","text":"save"})"},
        {"/exit/reasons/2",
         R"({"reason":"fault","command":"diag1","text":"Scanner has some problem.    "})"}}},
      {"maintenance requests that fail, and a cancelled self-test",
       {"--simulate=fail=diag:04:11,bufferfail=04,bufferfail=05", "--batch",
        "save,diag1,diag2,diag1:cancel"},
       1,
       {{"/commands/0/data", R"({"file":null,"lamp_hours":null,"scan_count":null})"},
        {"/commands/1/diagnostic",
         R"({"test":"self-test","verdict":"failed","faults":[],"status":4,
             "host_adapter_status":17})"},
        {"/commands/2/diagnostic",
         R"({"test":"memory and logic","verdict":"failed","faults":[],"status":4,
             "result_code":null})"},
        {"/commands/3/diagnostic", R"({"test":"self-test","verdict":"not run","faults":[]})"},
        {"/commands/3/boxes/0/answer", R"("cancel")"}}},
      {"a gate array fault and a stuck carriage, answering late",
       {"--simulate=selftest=fail:04:62:00,logictest=40,late=1", "--batch", "diag1,diag2"},
       1,
       {{"/commands/0/diagnostic/faults",
         R"(["Carriage lock release error","Home position sensor error"])"},
        {"/commands/0/diagnostic/asc", "98"},
        {"/commands/1/diagnostic",
         R"j({"test":"memory and logic","verdict":"problem","faults":["Error of Gatearrey(CMOS)"],
             "status":4,"result_code":40})j"}}},
      {"no scanner on the bus",
       {"--simulate=model=none", "--batch", "info,scan"},
       1,
       {{"/start/scanner", "null"}, {"/commands/0/scanner", "null"}}},
      // Each scan's entry carries its inspection, and a defect is a reason of the status.
      {"an inspected scan with a dead column",
       {"--simulate=column=dead:400::r", "--batch", "scan:340:memory,info", "--inspect"},
       1,
       {{"/commands/0/inspection/verdict", R"("1 defect found")"},
        {"/commands/0/inspection/findings/0/kind", R"("dead_columns")"},
        {"/commands/0/inspection/findings/0/first", "50"},
        {"/commands/1/inspection", "null"},
        {"/exit/reasons",
         R"([{"reason":"inspection","command":"scan:340:memory","text":"1 defect found"}])"}}},
      {"a trace that cannot be written",
       {"--simulate", "--batch", "info", "--trace", "/dev/full"},
       3,
       {{"/commands/0/scanner", kSoundT2},
        {"/exit",
         R"({"status":3,"reasons":[{"reason":"trace",
             "text":"the trace file '/dev/full' is incomplete: No space left on device"}]})"}}},
  };
  for (const JsonCase& test : cases) {
    std::vector<std::string> arguments = test.arguments;
    arguments.push_back("--json");
    const ProgramRun run = RunProgram(SCAN_FS_BINARY, arguments);
    SCOPED_TRACE(test.what);
    EXPECT_EQ(run.exitStatus, test.exitStatus);
    const json document = json::parse(run.out);
    EXPECT_EQ(document["exit"]["status"], test.exitStatus);
    EXPECT_EQ(document["version"], "1.0b");
    for (const Expected& expected : test.results) {
      const json::json_pointer pointer(expected.pointer);  // null: not there
      EXPECT_EQ(document.contains(pointer) ? document.at(pointer) : json(),
                json::parse(expected.value))
          << expected.pointer;
    }
    // Every box, dialog and line of the line format is in the document (the inspection's lines
    // are its results).
    Lines lines = RunProgram(SCAN_FS_BINARY, test.arguments).OutLines();
    std::erase_if(lines, [](const std::string& line) { return line.rfind("inspect ", 0) == 0; });
    EXPECT_EQ(AsBatchLines(document), lines);
  }
}

// A stopped scan still gives the document, with the signal as the reason and the bytes that did
// arrive.
TEST(BatchJsonEndToEnd, AStoppedScanSaysSo) {
  const ProgramRun run =
      RunProgram(SCAN_FS_BINARY,
                 {"--simulate=readtime=40", "--batch", "scan,info", "--json", "--trace", "t.jsonl"},
                 RunOptions::SignalledWhen(SIGTERM, "t.jsonl", "\"cdb\":\"28"));  // a READ done
  EXPECT_EQ(run.exitStatus, 128 + SIGTERM);
  const json document = json::parse(run.out);
  EXPECT_EQ(document["commands"].size(), 1u);
  const json& scan = document["commands"][0]["scan"];
  EXPECT_EQ(scan["complete"], false);
  EXPECT_GT(scan["bytes_received"], 0);
  EXPECT_LT(scan["bytes_received"], scan["bytes_announced"]);
  EXPECT_EQ(document["exit"]["status"], 128 + SIGTERM);
  EXPECT_EQ(document["exit"]["reasons"].back(),
            json::parse(R"({"reason":"stopped","command":"scan","text":"SIGTERM"})"));
}

}  // namespace
