#include "TempFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

void TempFolderTest::SetUp() {
  const char* szRoot = getenv("QM_TEST_TMP");
  std::string root = szRoot && *szRoot ? szRoot : "/tmp";
  std::filesystem::create_directories(root);
  std::string pattern = root + "/platform-XXXXXX";
  ASSERT_NE(mkdtemp(pattern.data()), nullptr) << "cannot create a folder in " << root;
  m_sFolder = pattern;
}

void TempFolderTest::TearDown() {
  if (m_sFolder.empty()) return;
  std::error_code error;
  // Read-only entries left by a test must not keep the folder alive.
  std::filesystem::permissions(m_sFolder, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(m_sFolder, error);
}

std::string TempFolderTest::PathOf(const std::string& name) const { return m_sFolder + "/" + name; }

void TempFolderTest::WriteFile(const std::string& name, const std::string& content) const {
  std::ofstream out(PathOf(name), std::ios::binary | std::ios::trunc);
  out << content;
  ASSERT_TRUE(out.good()) << "cannot write " << name;
}

std::string TempFolderTest::ReadFile(const std::string& name) const {
  std::ifstream in(PathOf(name), std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
