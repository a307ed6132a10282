#include "FolderTest.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

void TempFolderTest::WriteFile(const std::string& name, const std::string& content) const {
  ASSERT_TRUE(WriteWholeFile(PathOf(name), content)) << "cannot write " << name;
}

std::string TempFolderTest::ReadFile(const std::string& name) const {
  if (!std::ifstream(PathOf(name), std::ios::binary)) return "<missing>";
  return ReadWholeFile(PathOf(name));
}

void TempFolderTest::MakeReadOnly(const std::string& name) const {
  using std::filesystem::perms;
  std::filesystem::permissions(PathOf(name),
                               perms::owner_write | perms::group_write | perms::others_write,
                               std::filesystem::perm_options::remove);
}

std::string TempFolderTest::ListFolder() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(m_sFolder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  std::ostringstream joined;
  for (size_t i = 0; i < names.size(); ++i) joined << (i ? " " : "") << names[i];
  return joined.str();
}
