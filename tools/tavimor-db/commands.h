#pragma once

#include "cli.h"

namespace tavimor::cli {

// One sub-command of tavimor-db: its options and what it does.
struct Command {
    CommandSyntax syntax;
    int (*run)(const Options &options);
};

const Command &initCommand();
const Command &demoCommand();
const Command &verifyCommand();

} // namespace tavimor::cli
