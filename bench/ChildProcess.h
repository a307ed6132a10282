// Measurements that need a process of their own (peak memory, start-up) run
// this program again in a child mode and read its answer from its output; the
// batch tool is timed as the separate program it is.
#pragma once

#include <string>
#include <vector>

namespace qmbench {

struct ChildResult {
  int nExitCode = -1;
  std::string strOutput;  // what the child wrote to its standard output
  double dCpu = 0;        // the child's user and system time, seconds
};

// Runs the program at strPath with args (argv[0] is strPath), its environment
// extended (or overridden) by the NAME=value entries of env, and waits for it.
// False with the reason in strError when it could not be started or did not
// exit normally.
bool RunProgram(const std::string& strPath, const std::vector<std::string>& args,
                const std::vector<std::string>& env, ChildResult& result, std::string& strError);

// RunProgram on this program.
bool RunSelf(const std::vector<std::string>& args, const std::vector<std::string>& env,
             ChildResult& result, std::string& strError);

// The value after "key " on the first output line starting with it.
bool OutputValue(const std::string& strOutput, const std::string& strKey, double& dValue);

}  // namespace qmbench
