// The Linux program: picks the ASPI manager (SCSI generic, or the simulated bus) and the front end
// (terminal UI or batch mode), then runs the program's window on them.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "platform/aspi_manager.h"
#include "platform/batch/batch_commands.h"
#include "platform/batch/batch_front_end.h"
#include "platform/batch/json_report.h"
#include "platform/curses/terminal_ui.h"
#include "platform/linux/inspect_file.h"
#include "platform/linux/interruption.h"
#include "platform/linux/linux_ui.h"
#include "platform/linux/program_exit.h"
#include "platform/linux/program_options.h"
#include "platform/linux/program_version.h"
#include "platform/linux/request_trace.h"
#include "platform/linux/scan_inspection.h"
#include "platform/sg/sg_manager.h"
#include "sim/sim_config.h"
#include "sim/simulated_bus.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kTraceIncomplete = 3;

// One line on standard error, whatever bytes the command line held.
int UsageError(const std::string& message) {
  std::fprintf(stderr, "scan_fs: %s\n", EscapeBatchText(message).c_str());
  return kUsageError;
}

}  // namespace

int main(int argc, char** argv) {
  ProgramOptions options;
  std::string error;
  if (!ParseProgramOptions(argc, argv, options, error)) return UsageError(error);
  if (options.help) {
    std::fputs(ProgramUsage().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("scan_fs %s\n", ProgramVersion().c_str());
    return 0;
  }
  if (options.inspectFile) {
    return RunFileInspection(*options.inspectFile, options.json, options.preview);
  }

  std::optional<std::vector<BatchCommand>> commands;
  if (options.batch) {
    commands = ParseBatchCommands(*options.batch, error);
    if (!commands) return UsageError(error);
  }

  std::unique_ptr<AspiManager> manager;
  if (options.simulate) {
    const std::optional<SimConfig> config = ParseSimConfig(*options.simulate, error);
    if (!config) return UsageError(error);
    manager = std::make_unique<SimulatedBus>(*config);
  } else {
    manager = std::make_unique<SgManager>(SystemSgSetup(ShowManagerNotice));
  }

  RequestTrace trace;
  if (options.trace && !trace.Open(*options.trace))
    return UsageError("cannot write the trace file '" + *options.trace + "'");
  std::unique_ptr<BatchJsonReport> json;
  if (options.json) json = std::make_unique<BatchJsonReport>(ProgramVersion());
  // The trace, the JSON document's evidence and the inspection see every completed request;
  // none of them changes it.
  ScanInspection inspection(options.preview.has_value());
  const bool inspected = options.inspect;
  if (options.trace || json || inspected) {
    manager->SetCompletionObserver(
        [&trace, &json, &inspection, inspected](const void* block, uint8_t status) {
          trace.Record(block, status);
          if (json) json->RecordRequest(block, status);
          if (inspected) inspection.Observe(block, status);
        });
  }
  AfterCommand reportInspection;
  if (inspected) {
    reportInspection = [&inspection, &options](BatchReport& report) {
      return ReportInspectedScans(inspection.TakeEnded(), options.preview, report);
    };
  }
  UseAspiManager(manager.get());

  SetExitCheck([&trace, &options, &json](int status) {
    const int traceError = trace.Close();
    if (traceError == 0) return status;
    const std::string message =
        "the trace file '" + *options.trace + "' is incomplete: " + std::strerror(traceError);
    std::fprintf(stderr, "scan_fs: %s\n", EscapeBatchText(message).c_str());
    if (json) json->TraceIncomplete(message);
    return kTraceIncomplete;
  });

  // The terminal user interface catches the ending signals itself, once it has a terminal.
  if (commands) CatchInterruptions(nullptr);
  int status = 0;
  if (json) {
    status = RunBatch(*commands, *json, reportInspection);
  } else {
    status = commands ? RunBatch(*commands, stdout, reportInspection) : RunTerminalUi();
  }
  UseAspiManager(nullptr);
  const int checked = CheckedExitStatus(status);
  if (json) {
    const int stopSignal = StopSignal();
    if (stopSignal != 0) json->Stopped(stopSignal == SIGINT ? "SIGINT" : "SIGTERM");
    json->Write(stdout, stopSignal != 0 ? 128 + stopSignal : checked);
  }
  // A command stopped by a signal ends the program as the signal does; the terminal's Ctrl+C in
  // the terminal user interface closes it as its close box does.
  if (commands || !StopCameFromTerminal()) EndAsSignalled();
  return checked;
}
