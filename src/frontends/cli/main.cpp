#include "frontends/cli/cli_app.h"

int main(int argc, char** argv) { return plexo::cli::RunCommandLine(argc, argv, nullptr); }
