// The olstore commands. Each checks all of its arguments before it opens the
// store, so a mistyped command never creates or changes one; each returns the
// process exit code (0 done, 1 failed, 2 wrong use).
#pragma once

#include <string>
#include <vector>

namespace olstore::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct Invocation {
  std::string storePath;
  std::string command;
  std::vector<std::string> args;
};

int Init(const Invocation& call);
int Seed(const Invocation& call);
int Import(const Invocation& call);
int Export(const Invocation& call);
int List(const Invocation& call);
int Show(const Invocation& call);
int Stats(const Invocation& call);

// "olstore: <text>" on stderr; returns code.
int Complain(int code, const std::string& text);

}  // namespace olstore::cli
