#include "net/StartupOutcome.h"

#include "net/winsock_testing.h"

namespace winsock::testing {
namespace {

std::optional<StartupOutcome>& Override() {
    static std::optional<StartupOutcome> outcome;
    return outcome;
}

}  // namespace

const std::optional<StartupOutcome>& StartupOverride() { return Override(); }

void SetStartupOutcome(int error, WORD version) { Override() = StartupOutcome{error, version}; }

void ResetStartupOutcome() { Override().reset(); }

}  // namespace winsock::testing
