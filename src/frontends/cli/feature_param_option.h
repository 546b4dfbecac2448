#pragma once
// A feature parameter as a command-line option: its names, help and check come from the shared
// parameter table (features/feature_options.h), so that every command taking it means the same.
#include <CLI/CLI.hpp>
#include <string>

#include "features/feature_options.h"

namespace plexo::cli {

// Registers the parameter option `name` of the table (its alias too) on the texts.
inline CLI::Option* AddFeatureParamOption(CLI::App* command, FeatureParams& params,
                                          const char* name) {
  const FeatureParamEntry& entry = *FeatureParamNamed(name);
  std::string names = std::string("--") + entry.name;
  if (entry.alias != nullptr) names += std::string(",--") + entry.alias;
  const FeatureParamKind kind = entry.kind;
  return command->add_option(names, params.*entry.text, entry.help)
      ->capture_default_str()
      ->transform(
          CLI::Validator([kind](std::string& text) { return CheckFeatureParam(kind, text); },
                         kind == FeatureParamKind::kNumber           ? "NUMBER"
                         : kind == FeatureParamKind::kPositiveNumber ? "> 0"
                                                                     : ">= 1"));
}

}  // namespace plexo::cli
