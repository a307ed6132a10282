#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string MakeFolder() {
  const char* szBase = std::getenv("TMPDIR");
  std::string pattern = std::string(szBase && *szBase ? szBase : "/tmp") + "/qmfuzz-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  return pattern;
}

// Removed at exit: a target runs for hours and many of them run in a row.
struct Folder {
  std::string path = MakeFolder();
  ~Folder() {
    std::error_code error;
    std::filesystem::remove_all(path, error);
  }
};

}  // namespace

const std::string& FuzzFolder() {
  static const Folder folder;
  return folder.path;
}

std::string FuzzPath(std::string_view name) { return FuzzFolder() + "/" + std::string(name); }

void WriteFuzzFile(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::abort();
  }
}

void RemoveFuzzFile(const std::string& path) {
  for (const char* szSuffix : {"", "-wal", "-shm", "-journal"})
    std::remove((path + szSuffix).c_str());
}

void FuzzCheckFailed(const char* szCondition, const char* szFile, int nLine) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", szFile, nLine, szCondition);
  std::abort();
}
