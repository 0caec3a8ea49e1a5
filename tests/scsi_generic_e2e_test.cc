// The real program without --simulate, on a made-up sysfs tree: what it shows of the kernel's
// SCSI hosts, and how it tells the user why a device is out of reach.
#include <gtest/gtest.h>

#include "tests/support/run_program.h"
#include "tests/support/tmux_session.h"

namespace {

// One sym53c8xx host with a T2 at target 2, whose node cannot be opened (it is a folder).
constexpr char kTreeWithAnUnopenableNode[] =
    "mkdir -p sys/class/scsi_host/host0 sys/class/scsi_generic/sg0 sys/devices/0:0:2:0 dev/sg0"
    " && echo sym53c8xx >sys/class/scsi_host/host0/proc_name"
    " && echo TESSALIN >sys/devices/0:0:2:0/vendor && echo ZR-40123B >sys/devices/0:0:2:0/model"
    " && ln -s ../../../devices/0:0:2:0 sys/class/scsi_generic/sg0/device"
    " && export SCAN_FS_SYSFS=$PWD/sys SCAN_FS_DEV=dev";

TEST(ScsiGenericEndToEnd, HostsAreAdaptersAndAnUnopenableNodeIsNamedOnStandardError) {
  const ProgramRun run = RunProgram(SCAN_FS_BINARY, {"--batch", "board,info"},
                                    RunOptions::Prepared(kTreeWithAnUnopenableNode));
  EXPECT_NE(run.out.find("line 20 75 ASPI Manager Name         : sym53c8xx\n"), std::string::npos)
      << run.out;
  EXPECT_NE(run.err.find("scan_fs: Cannot open dev/sg0 (adapter 0, target 2, LUN 0: TESSALIN "
                         "ZR-40123B): Is a directory."),
            std::string::npos)
      << run.err;
}

TEST(ScsiGenericEndToEnd, WithoutAnyHostTheTerminalSaysWhyWhileTheProgramRuns) {
  TmuxSession tui({"env", "SCAN_FS_SYSFS=/nonexistent", SCAN_FS_BINARY});
  EXPECT_TRUE(tui.WaitForText("No SCSI host adapter: the kernel lists none in"));
  tui.Press({"Enter", "q"});
  EXPECT_EQ(tui.WaitForExit(), 0);
  // Kept for standard error once the terminal is given back.
  EXPECT_NE(tui.File("stderr.txt").find("No SCSI host adapter"), std::string::npos);
}

}  // namespace
