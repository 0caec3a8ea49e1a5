// The real program's inspection: of every scan while it arrives and of its file, with the
// defects the simulator plants; what it refuses, and that it changes nothing the scan sends or
// writes.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include "tests/support/run_program.h"

namespace {

using Lines = std::vector<std::string>;

// Defects in sensor elements and lines of 1/2720 inch, and where they land at `resolution`.
const char* const kDefects =
    "column=dead:400:1:r,column=stuck:900:3:g,column=weak:1500:8:b:24,"
    "column=strong:2000:2:all:20,band=1000:40:-24,band=3000:16:20:g,dim=g:40";

std::string Place(const char* what, uint32_t first, uint32_t count, uint32_t resolution) {
  const uint32_t from = first * resolution / 2720;
  const uint32_t to = ((first + count) * resolution + 2719) / 2720 - 1;
  return from == to ? std::string(what) + " " + std::to_string(from)
                    : std::string(what) + "s " + std::to_string(from) + "-" + std::to_string(to);
}

Lines ExpectedFindings(uint32_t resolution) {
  return {"inspect " + Place("column", 400, 1, resolution) + ", red: dead",
          "inspect " + Place("column", 900, 3, resolution) + ", green: stuck",
          "inspect " + Place("column", 1500, 8, resolution) + ", blue: weak",
          "inspect " + Place("column", 2000, 2, resolution) + ", all channels: strong",
          "inspect " + Place("row", 1000, 40, resolution) + ", all channels: band",
          "inspect " + Place("row", 3000, 16, resolution) + ", green: band",
          "inspect green: dim",
          "inspect 7 defects found"};
}

// The lines of the report that pass `keep`.
Lines Kept(const Lines& out, bool (*keep)(const std::string&)) {
  Lines kept;
  std::copy_if(out.begin(), out.end(), std::back_inserter(kept), keep);
  return kept;
}

bool IsInspection(const std::string& line) {
  return line.rfind("inspect ", 0) == 0;
}

// The report's findings and verdict, without the image, channel and least offset lines.
bool IsFinding(const std::string& line) {
  return IsInspection(line) && line.rfind("inspect image", 0) != 0 &&
         line.find("minimum") == std::string::npos &&
         line.find("least offsets") == std::string::npos;
}

// Each line begins with the expected one.
void ExpectBeginnings(const Lines& lines, const Lines& beginnings) {
  ASSERT_EQ(lines.size(), beginnings.size()) << ::testing::PrintToString(lines);
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i].rfind(beginnings[i], 0), 0u) << lines[i];
}

// Every planted defect at its place and of its kind, at every resolution, with grain and
// without; nothing on a clean scan. Into the file, whose inspection afterwards says the same as
// the one made while it arrived, or into memory.
void ExpectEveryDefectFound(const std::string& model, bool toFile) {
  for (const uint32_t resolution : {340u, 680u, 1360u, 2720u}) {
    for (const std::string grain : {"", ",grain=8"}) {
      for (const bool planted : {false, true}) {
        const std::string config =
            "model=" + model + grain + (planted ? std::string(",") + kDefects : "");
        SCOPED_TRACE(config + " " + std::to_string(resolution));
        const ProgramRun run = RunProgram(
            SCAN_FS_BINARY,
            {"--simulate=" + config, "--batch",
             "scan:" + std::to_string(resolution) + (toFile ? ":file" : ":memory"), "--inspect"});
        EXPECT_EQ(run.exitStatus, planted ? 1 : 0);
        ExpectBeginnings(Kept(run.OutLines(), IsFinding),
                         planted ? ExpectedFindings(resolution) : Lines{"inspect no defect found"});
        if (!toFile) continue;
        const ProgramRun file =
            RunProgram(SCAN_FS_BINARY, {"--inspect", "img_fs.tif"},
                       RunOptions::Prepared("cp " + run.directory + "/img_fs.tif ."));
        EXPECT_EQ(file.exitStatus, planted ? 1 : 0);
        Lines prefixed;
        for (const std::string& line : file.OutLines()) prefixed.push_back("inspect " + line);
        EXPECT_EQ(prefixed, Kept(run.OutLines(), IsInspection));
      }
    }
  }
}

TEST(InspectionEndToEnd, T1IntoTheFile) {
  ExpectEveryDefectFound("t1", true);
}

TEST(InspectionEndToEnd, T2IntoMemory) {
  ExpectEveryDefectFound("t2", false);
}

// The inspection adds its lines and nothing else: the requests (the trace), the boxes and
// img_fs.tif are the same without it. Planted defects change the image data only.
TEST(InspectionEndToEnd, NeitherTheInspectionNorAPlantedDefectChangesAnythingElse) {
  const auto scan = [](const std::string& config, bool inspected) {
    std::vector<std::string> arguments = {"--simulate=" + config, "--batch",
                                          "board,info,scan:340:file,scan:1360:memory", "--trace",
                                          "t.jsonl"};
    if (inspected) arguments.push_back("--inspect");
    return RunProgram(SCAN_FS_BINARY, arguments);
  };
  const ProgramRun plain = scan("", false);
  const ProgramRun inspected = scan("", true);
  const ProgramRun faulty = scan(std::string(kDefects) + ",grain=8", false);
  EXPECT_EQ(Kept(inspected.OutLines(), [](const std::string& line) { return !IsInspection(line); }),
            plain.OutLines());
  EXPECT_EQ(Kept(inspected.OutLines(), IsInspection).size(), 2 * 6u);
  EXPECT_EQ(faulty.OutLines(), plain.OutLines());
  EXPECT_EQ(inspected.File("t.jsonl"), plain.File("t.jsonl"));
  EXPECT_EQ(faulty.File("t.jsonl"), plain.File("t.jsonl"));
  const std::string image = plain.File("img_fs.tif"), withDefects = faulty.File("img_fs.tif");
  EXPECT_EQ(inspected.File("img_fs.tif"), image);
  EXPECT_EQ(withDefects.substr(0, 216), image.substr(0, 216));
  EXPECT_EQ(withDefects.size(), image.size());
  EXPECT_NE(withDefects, image);
}

// A file that is not a whole image is said in one line, with status 2, whatever is wrong.
TEST(InspectionEndToEnd, AFileThatIsNotACompleteImageIsOneLineAndStatusTwo) {
  const ProgramRun scan = RunProgram(SCAN_FS_BINARY, {"--simulate", "--batch", "scan"});
  const std::string copy = "cp " + scan.directory + "/img_fs.tif x.tif";
  for (const auto& [prepare, reason] : std::vector<std::pair<std::string, std::string>>{
           {copy + " && printf '\\0\\0' | dd of=x.tif bs=1 seek=2 conv=notrunc 2>/dev/null",
            "its version field is 0: the file of a scan that did not end"},
           {copy + " && truncate -s 300000 x.tif", "row 304 of 486 cannot be read"},
           {"echo 'not an image' >x.tif", "not a TIFF image"},
           {"true", "No such file or directory"},
           {"mkdir x.tif", "not a TIFF image"}}) {
    const ProgramRun run =
        RunProgram(SCAN_FS_BINARY, {"--inspect", "x.tif", "--json"}, RunOptions::Prepared(prepare));
    EXPECT_EQ(run.exitStatus, 2) << prepare;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("scan_fs: x.tif: not a complete image: " + reason, 0), 0u) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
}

// The JSON object and the preview of a file with defects: a positive reduced to fit 1024 pixels,
// the dead red column marked in red above and below it.
TEST(InspectionEndToEnd, JsonObjectAndPreviewOfAFile) {
  const ProgramRun scan = RunProgram(
      SCAN_FS_BINARY, {std::string("--simulate=") + kDefects, "--batch", "scan:2720:file"});
  const ProgramRun run =
      RunProgram(SCAN_FS_BINARY, {"--inspect", "img_fs.tif", "--json", "--preview", "p.png"},
                 RunOptions::Prepared("cp " + scan.directory + "/img_fs.tif ."));
  EXPECT_EQ(run.exitStatus, 1);
  const nlohmann::json report = nlohmann::json::parse(run.out);
  EXPECT_EQ(std::tuple(report["file"], report["image"]["resolution"], report["defects"],
                       report["verdict"]),
            std::tuple("img_fs.tif", 2720, 7, "7 defects found"));
  const nlohmann::json& dead = report["findings"][0];
  EXPECT_EQ(std::tuple(dead["kind"], dead["channel"], dead["first"], dead["share_of_length"]),
            std::tuple("dead_columns", "red", 400, 1.0));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, (run.directory + "/p.png").c_str()));
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  // 2592 x 3888 pixels reduced by 4 to 648 x 972, in a border of 8.
  EXPECT_EQ(image.width, 664u);
  EXPECT_EQ(image.height, 988u);
  const auto pixel = [&](uint32_t x, uint32_t y) {
    const uint8_t* at = &pixels[(size_t{y} * image.width + x) * 3];
    return std::vector<int>{at[0], at[1], at[2]};
  };
  EXPECT_EQ(pixel(8 + 400 / 4, 3), (std::vector<int>{255, 40, 40}));
  EXPECT_EQ(pixel(8 + 400 / 4, 984), (std::vector<int>{255, 40, 40}));
  EXPECT_EQ(pixel(8 + 300 / 4, 3), (std::vector<int>{48, 48, 48}));
  // The film base is black in the positive, the sky light.
  EXPECT_EQ(pixel(9, 500), (std::vector<int>{0, 0, 0}));
  EXPECT_GT(pixel(300, 100)[2], 128);
}

// A scan whose image did not arrive whole is not judged; a preview that cannot be written is
// a failure; a cancelled scan has no inspection.
TEST(InspectionEndToEnd, WhatCannotBeJudgedOrWrittenIsSaid) {
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"fail=read@3",
       {"inspect image 324 x 486 pixels at 340 dpi, 24.2 x 36.3 mm",
        "inspect part of the image was lost: not judged", "inspect not judged"}},
      {"fail=status@1", {"inspect the scanner gave no image size: not judged"}},
  };
  for (const auto& [fault, expected] : cases) {
    const ProgramRun run = RunProgram(SCAN_FS_BINARY, {"--simulate=" + fault, "--batch",
                                                       "scan:340:memory,scan:cancel", "--inspect"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(Kept(run.OutLines(), IsInspection), expected) << fault;
  }
  const ProgramRun batch = RunProgram(SCAN_FS_BINARY, {"--simulate", "--batch", "scan:340:memory",
                                                       "--inspect", "--preview", "no/p.png"});
  EXPECT_EQ(batch.exitStatus, 1);
  EXPECT_EQ(batch.OutLines().back(),
            "inspect preview not written: no/p.png: No such file or directory");
  const ProgramRun scan = RunProgram(SCAN_FS_BINARY, {"--simulate", "--batch", "scan"});
  const ProgramRun file =
      RunProgram(SCAN_FS_BINARY, {"--inspect", "img_fs.tif", "--preview", "/dev/full"},
                 RunOptions::Prepared("cp " + scan.directory + "/img_fs.tif ."));
  EXPECT_EQ(file.exitStatus, 3);
  EXPECT_EQ(file.err,
            "scan_fs: the preview '/dev/full' was not written: No space left on device\n");
}

}  // namespace
