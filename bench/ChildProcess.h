// Measurements that need a process of their own (peak memory, start-up) run
// this program again in a child mode and read its answer from its output.
#pragma once

#include <string>
#include <vector>

namespace qmbench {

struct ChildResult {
  int nExitCode = -1;
  std::string strOutput;  // what the child wrote to its standard output
};

// Runs this program with args, its environment extended (or overridden) by
// the NAME=value entries of env, and waits for it. False with the reason in
// strError when it could not be started or did not exit normally.
bool RunSelf(const std::vector<std::string>& args, const std::vector<std::string>& env,
             ChildResult& result, std::string& strError);

// The value after "key " on the first output line starting with it.
bool OutputValue(const std::string& strOutput, const std::string& strKey, double& dValue);

}  // namespace qmbench
