// olstore: create, fill, inspect and exchange the local Outlook store.
#include <cstdio>
#include <string_view>

#include "olstore/cli/Commands.h"
#include "olstore/olstore.h"

namespace {

using namespace olstore::cli;

constexpr const char* kUsage = R"(usage: olstore [--store PATH] COMMAND [ARGUMENTS]

The store is PATH, else $OLSTORE_PATH, else olstore/store.db in the user's data
folder ($XDG_DATA_HOME, else ~/.local/share; on Windows %LOCALAPPDATA%).

commands:
  init                      create the store if there is none; show where it is
  seed [--contacts N] [--distlists N] [--appointments N] [--tasks N] [--notes N]
       [--seed S] [--date YYYY-MM-DD]
                            add demo data (the same seed and date give the same data)
  import FILE               add the folders and items of a JSON file ("-": standard input)
  export [FILE]             write the whole store as JSON (to standard output without FILE)
  list KIND                 one line per item: entry ID, folder, name or subject
                            (KIND: contacts, calendar, tasks or notes)
  show ENTRYID              every property of one item
  stats                     items per folder and kind
  help                      this text
)";

struct Command {
  std::string_view name;
  int (*run)(const Invocation&);
};

constexpr Command kCommands[] = {{"init", Init},     {"seed", Seed}, {"import", Import},
                                 {"export", Export}, {"list", List}, {"show", Show},
                                 {"stats", Stats}};

}  // namespace

int main(int argc, char** argv) {
  Invocation call;
  call.storePath = olstore::ResolveStorePath();
  int i = 1;
  for (; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--store") {
      if (++i == argc) return Complain(kExitUsage, "--store needs a path");
      call.storePath = argv[i];
    } else if (arg.starts_with("--store=")) {
      call.storePath = std::string(arg.substr(8));
    } else if (arg == "-h" || arg == "--help") {
      std::fputs(kUsage, stdout);
      return kExitOk;
    } else if (arg.starts_with("-")) {
      return Complain(kExitUsage, "unknown option '" + std::string(arg) + "' (try 'olstore help')");
    } else {
      break;
    }
  }
  if (i == argc) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  call.command = argv[i];
  call.args.assign(argv + i + 1, argv + argc);
  if (call.command == "help") {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (call.storePath.empty()) return Complain(kExitUsage, "the store path is empty");
  for (const Command& command : kCommands)
    if (command.name == call.command) return command.run(call);
  return Complain(kExitUsage, "unknown command '" + call.command + "' (try 'olstore help')");
}
