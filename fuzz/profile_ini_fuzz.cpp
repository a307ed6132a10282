// The layer's profile (INI) files on arbitrary contents: every section and key
// is read with buffers of every interesting size, then keys and sections are
// written and deleted, and what was written must read back while everything
// else keeps its value.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "platform/win32.h"

namespace {

constexpr char kDefault[] = "(none)";
constexpr size_t kMaxNames = 8;
// Sections whose keys are written, each write checked against every value.
constexpr size_t kWrittenSections = 2;

// A section and a key as the layer compares them: blanks around a name do not
// count, nor the case of ASCII letters. (A listed name is not always trimmed:
// a name with a zero byte in it is listed as the parts around the zero.)
using Pair = std::pair<std::string, std::string>;

std::string Normal(std::string_view name) {
  constexpr std::string_view kBlanks = " \t\r\v\f";
  const size_t nBegin = name.find_first_not_of(kBlanks);
  std::string text(nBegin == std::string_view::npos
                       ? std::string_view{}
                       : name.substr(nBegin, name.find_last_not_of(kBlanks) - nBegin + 1));
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The whole list of section names (szSection null) or of a section's key
// names, as one buffer, checked against every smaller buffer.
std::string ReadNameList(const char* szSection, const std::string& path, size_t nFileSize,
                         bool bCheckCuts) {
  std::vector<char> whole(nFileSize + 16);
  const DWORD nWhole = GetPrivateProfileStringA(szSection, nullptr, kDefault, whole.data(),
                                                static_cast<DWORD>(whole.size()), path.c_str());
  FUZZ_CHECK(nWhole + 2 <= whole.size() && whole[nWhole] == '\0');
  FUZZ_CHECK(nWhole == 0 ? whole[1] == '\0' : whole[nWhole - 1] == '\0');
  if (!bCheckCuts) return std::string(whole.data(), nWhole);
  for (const size_t n : {size_t{1}, size_t{2}, size_t{3}, size_t{nWhole / 2 + 1}, size_t{nWhole}}) {
    if (n == 0) continue;
    std::vector<char> cut(n, 'X');  // exactly n bytes, so ASan sees any write past them
    const DWORD nCut = GetPrivateProfileStringA(szSection, nullptr, kDefault, cut.data(),
                                                static_cast<DWORD>(n), path.c_str());
    if (n == 1) {
      FUZZ_CHECK(nCut == 0 && cut[0] == '\0');
    } else if (nWhole + 1 <= n) {
      FUZZ_CHECK(nCut == nWhole && memcmp(cut.data(), whole.data(), nWhole + 1) == 0);
    } else {
      // A list that does not fit ends with its last name cut and two zeros.
      FUZZ_CHECK(nCut == n - 2 && cut[n - 2] == '\0' && cut[n - 1] == '\0');
      for (size_t i = 0; i < n - 2; ++i) FUZZ_CHECK(cut[i] == whole[i] || cut[i] == '\0');
    }
  }
  return std::string(whole.data(), nWhole);
}

std::vector<std::string> SplitNames(const std::string& list) {
  std::vector<std::string> names;
  for (size_t nPos = 0; nPos < list.size() && names.size() < kMaxNames;) {
    const size_t nEnd = list.find('\0', nPos);
    names.push_back(list.substr(nPos, nEnd - nPos));
    nPos = nEnd + 1;
  }
  return names;
}

// One value, checked against every smaller buffer: a value that does not fit
// is cut, and the result is then the buffer size less one.
std::string ReadValue(const std::string& section, const std::string& key, const std::string& path,
                      size_t nFileSize, bool bCheckCuts) {
  std::vector<char> whole(nFileSize + sizeof kDefault + 1);
  const DWORD nWhole =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), kDefault, whole.data(),
                               static_cast<DWORD>(whole.size()), path.c_str());
  FUZZ_CHECK(nWhole < whole.size() && whole[nWhole] == '\0');
  if (!bCheckCuts) return std::string(whole.data(), nWhole);
  for (const size_t n : {size_t{1}, size_t{2}, size_t{nWhole / 2 + 1}, size_t{nWhole}}) {
    if (n == 0) continue;
    std::vector<char> cut(n, 'X');
    const DWORD nCut = GetPrivateProfileStringA(section.c_str(), key.c_str(), kDefault, cut.data(),
                                                static_cast<DWORD>(n), path.c_str());
    if (nWhole < n) {
      FUZZ_CHECK(nCut == nWhole && memcmp(cut.data(), whole.data(), nWhole + 1) == 0);
    } else {
      FUZZ_CHECK(nCut == n - 1 && cut[n - 1] == '\0');
      const size_t nKept = strlen(cut.data());
      FUZZ_CHECK(memcmp(cut.data(), whole.data(), nKept) == 0);
      for (size_t i = nKept; i < n; ++i) FUZZ_CHECK(cut[i] == '\0');
    }
  }
  return std::string(whole.data(), nWhole);
}

struct Snapshot {
  std::vector<std::string> sections;
  std::map<std::string, std::vector<std::string>> keys;  // by section, as listed
  std::map<Pair, std::string> values;
};

// Every name and value; with bCheckCuts each read again into every smaller buffer.
Snapshot ReadAll(const std::string& path, size_t nFileSize, bool bCheckCuts = false) {
  Snapshot snapshot;
  snapshot.sections = SplitNames(ReadNameList(nullptr, path, nFileSize, bCheckCuts));
  for (const std::string& section : snapshot.sections) {
    std::vector<std::string>& keys = snapshot.keys[section];
    keys = SplitNames(ReadNameList(section.c_str(), path, nFileSize, bCheckCuts));
    for (const std::string& key : keys)
      snapshot.values[{Normal(section), Normal(key)}] =
          ReadValue(section, key, path, nFileSize, bCheckCuts);
  }
  return snapshot;
}

size_t FileSize(const std::string& path) {
  FILE* file = fopen(path.c_str(), "rb");
  FUZZ_CHECK(file != nullptr);
  fseek(file, 0, SEEK_END);
  const long nSize = ftell(file);
  fclose(file);
  return static_cast<size_t>(nSize);
}

// What the writes left in the file: the last value each written key was
// given (kDefault for a deleted one), and the sections deleted whole.
struct Writes {
  std::map<Pair, std::string> values;
  std::vector<std::string> deletedSections;  // Normal()

  bool Touched(const Pair& pair) const {
    return values.count(pair) != 0 || std::find(deletedSections.begin(), deletedSections.end(),
                                                pair.first) != deletedSections.end();
  }
};

// Writes (or with a null value deletes) one key; what is refused changes nothing.
void WriteKey(const std::string& path, const std::string& section, const std::string& key,
              const char* szValue, const char* szExpected, Writes& writes) {
  const BOOL bWritten =
      WritePrivateProfileStringA(section.c_str(), key.c_str(), szValue, path.c_str());
  const Pair pair{Normal(section), Normal(key)};
  if (bWritten) writes.values[pair] = szValue ? szExpected : kDefault;
}

void DeleteSection(const std::string& path, const std::string& section, Writes& writes) {
  if (!WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path.c_str())) return;
  const std::string lower = Normal(section);
  std::erase_if(writes.values, [&](const auto& entry) { return entry.first.first == lower; });
  writes.deletedSections.push_back(lower);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzPath("profile.ini");
  WriteFuzzFile(path, data, size);
  const Snapshot snapshot = ReadAll(path, size, true);

  // Quotes keep the blanks of a value that is read back.
  const std::string value = "\" v" + std::to_string(size) + " \"";
  const std::string expected = " v" + std::to_string(size) + " ";
  Writes writes;
  for (size_t i = 0; i < snapshot.sections.size() && i < kWrittenSections; ++i) {
    const std::string& section = snapshot.sections[i];
    const std::vector<std::string>& keys = snapshot.keys.at(section);
    if (!keys.empty())
      WriteKey(path, section, keys.front(), value.c_str(), expected.c_str(), writes);
    if (keys.size() > 1) WriteKey(path, section, keys.back(), nullptr, nullptr, writes);
    WriteKey(path, section, "Added Key", "plain", "plain", writes);
  }
  WriteKey(path, "Added Section", "Key", value.c_str(), expected.c_str(), writes);
  if (snapshot.sections.size() > kWrittenSections)
    DeleteSection(path, snapshot.sections.back(), writes);

  // What was written reads back as written; every other value is as it was.
  const size_t nSize = FileSize(path);
  for (const auto& [pair, written] : writes.values)
    FUZZ_CHECK(ReadValue(pair.first, pair.second, path, nSize, false) == written);
  const Snapshot after = ReadAll(path, nSize);
  for (const auto& [pair, before] : snapshot.values) {
    if (writes.Touched(pair)) continue;
    const auto found = after.values.find(pair);
    // A list holds at most kMaxNames names: a key pushed beyond them is not seen.
    if (found != after.values.end()) FUZZ_CHECK(found->second == before);
  }
  return 0;
}
