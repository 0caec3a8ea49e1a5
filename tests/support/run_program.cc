#include "tests/support/run_program.h"
#include "tests/support/shell_quote.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

}  // namespace

std::vector<std::string> ProgramRun::OutLines() const {
  std::vector<std::string> lines;
  std::istringstream stream(out);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string ProgramRun::File(const std::string& name) const {
  return ReadFile(directory + "/" + name);
}

ProgramRun RunProgram(const std::string& binary, const std::vector<std::string>& arguments,
                      const std::string& prepare) {
  char pattern[] = "/tmp/scan_fs_run.XXXXXX";
  const std::string directory = mkdtemp(pattern);
  std::string command = "cd " + ShellQuote(directory) + " && ";
  if (!prepare.empty()) command += "{ " + prepare + "; } && ";
  command += ShellQuote(binary);
  for (const std::string& argument : arguments) command.append(" ").append(ShellQuote(argument));
  command += " >stdout.txt 2>stderr.txt";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(directory + "/stdout.txt");
  run.err = ReadFile(directory + "/stderr.txt");
  run.directory = directory;
  return run;
}
