// Starting a program as a user's shell would: its own process, standard input
// read from a file and standard output and error written to files.
#pragma once

#include <string>
#include <vector>

namespace olstore::test {

struct ProgramFiles {
  std::string in;  // empty: no input at all
  std::string out, err;
};

// A program the build made at path: path itself when it is absolute on this
// system, else the file of that name beside the running test executable (the
// paths of a cross-build are those of the machine that built it).
std::string BuiltProgram(const std::string& path);

// Runs program with args (each one argument, whatever it holds) in the
// environment of this process and waits for it. The exit code, or -1 when the
// program could not start or did not end by exiting.
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const ProgramFiles& files);

}  // namespace olstore::test
