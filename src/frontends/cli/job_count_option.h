#pragma once
// The --jobs option every command shares: 0 means one per core, and more than four per core is
// refused (each job costs a thread and its workspace; a typo of 100000 must not start them).
#include <CLI/CLI.hpp>
#include <algorithm>
#include <optional>
#include <string>

#include "frontends/cli/number_option.h"
#include "platform/job_count.h"

namespace plexo::cli {

inline int MaxJobCount() { return 4 * CoreCount(); }

inline CLI::Validator JobCountCheck() {
  const int most = MaxJobCount();
  return CLI::Validator(
      [most](std::string& text) -> std::string {
        const std::optional<int> value = WholeInteger(text);
        if (value && *value >= 0 && *value <= most) {
          text = std::to_string(*value);  // "1e1" is 10
          return {};
        }
        return "Value " + text + " is not a job count: give 0 (one per core) to " +
               std::to_string(most) + " (four per core)";
      },
      // The rule, not this machine's number: the help (and the manual made from it) must not
      // carry the core count of the machine that printed it.
      "0..4-per-core");
}

}  // namespace plexo::cli
