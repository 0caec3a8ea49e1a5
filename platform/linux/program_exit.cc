#include "platform/linux/program_exit.h"

#include <utility>

namespace {

std::function<int(int)>& ExitCheck() {
  static std::function<int(int)> check;
  return check;
}

}  // namespace

void SetExitCheck(std::function<int(int status)> check) {
  ExitCheck() = std::move(check);
}

int CheckedExitStatus(int status) {
  const std::function<int(int)> check = std::exchange(ExitCheck(), nullptr);
  return check ? check(status) : status;
}
