// What every fuzz target shares: a private folder for the files it hands the
// code under test, and checks that stop the run loudly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A folder of this process's own, made on first use and removed at exit.
const std::string& FuzzFolder();

// The path of a file named name in FuzzFolder().
std::string FuzzPath(std::string_view name);

// Replaces the file at path with exactly these bytes (aborting when it cannot).
void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size);

// Removes the file at path, and the side files SQLite keeps beside a database.
void RemoveFuzzFile(const std::string& path);

// A property the code under test promises does not hold: reports it and aborts,
// which libFuzzer records as a crash with the input that caused it.
#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : FuzzCheckFailed(#condition, __FILE__, __LINE__))

[[noreturn]] void FuzzCheckFailed(const char* szCondition, const char* szFile, int nLine);
