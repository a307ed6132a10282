// Profile (INI) files with Windows' reading and writing rules. Writing changes
// only the lines it must: comments, blank lines, unknown keys, the order of
// everything and each line's own line ending stay as they were.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "atomicwrite.h"
#include "lasterror.h"

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
  const size_t nBegin = text.find_first_not_of(kBlanks);
  if (nBegin == std::string_view::npos) return {};
  return text.substr(nBegin, text.find_last_not_of(kBlanks) - nBegin + 1);
}

std::string_view TrimLeft(std::string_view text) {
  const size_t nBegin = text.find_first_not_of(kBlanks);
  return nBegin == std::string_view::npos ? std::string_view{} : text.substr(nBegin);
}

std::string_view TrimRight(std::string_view text) {
  const size_t nEnd = text.find_last_not_of(kBlanks);
  return nEnd == std::string_view::npos ? std::string_view{} : text.substr(0, nEnd + 1);
}

// Section and key names compare without regard to (ASCII) case.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char ca = a[i], cb = b[i];
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
    if (ca != cb) return false;
  }
  return true;
}

enum class LineKind { Blank, Comment, Section, Key, Other };

// One line of the file as it was read: its bytes, its own line ending ("" for
// a last line without one) and what it means.
struct ProfileLine {
  std::string text;
  std::string eol;
  LineKind kind = LineKind::Other;
  // Where the trimmed section or key name and the trimmed value lie in text
  // (kept as positions: the text moves when the lines do).
  size_t nNameBegin = 0, nNameLength = 0, nValueBegin = 0, nValueLength = 0;

  std::string_view Name() const { return std::string_view(text).substr(nNameBegin, nNameLength); }
  std::string_view Value() const {
    return std::string_view(text).substr(nValueBegin, nValueLength);
  }
};

void Classify(ProfileLine& line, bool bFirst) {
  const std::string_view whole = line.text;
  std::string_view text = whole;
  if (bFirst && text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  text = Trim(text);
  const auto place = [&](std::string_view part, size_t& nBegin, size_t& nLength) {
    nBegin = part.empty() ? 0 : static_cast<size_t>(part.data() - whole.data());
    nLength = part.size();
  };
  place({}, line.nNameBegin, line.nNameLength);
  place({}, line.nValueBegin, line.nValueLength);
  if (text.empty()) {
    line.kind = LineKind::Blank;
  } else if (text[0] == ';') {
    line.kind = LineKind::Comment;
  } else if (text[0] == '[' && text.find(']') != std::string_view::npos) {
    line.kind = LineKind::Section;
    place(Trim(text.substr(1, text.find(']') - 1)), line.nNameBegin, line.nNameLength);
  } else if (const size_t nEquals = text.find('='); nEquals != std::string_view::npos) {
    line.kind = LineKind::Key;
    place(Trim(text.substr(0, nEquals)), line.nNameBegin, line.nNameLength);
    place(Trim(text.substr(nEquals + 1)), line.nValueBegin, line.nValueLength);
  } else {
    line.kind = LineKind::Other;  // a line without '=' names no value
  }
}

class ProfileFile {
 public:
  // Splits the content into lines at "\n"; "\r\n" stays the line's ending.
  explicit ProfileFile(const std::string& content) {
    size_t nPos = 0;
    while (nPos < content.size()) {
      const size_t nNewline = content.find('\n', nPos);
      ProfileLine line;
      if (nNewline == std::string::npos) {
        line.text = content.substr(nPos);
        nPos = content.size();
      } else {
        const size_t nEnd =
            nNewline > nPos && content[nNewline - 1] == '\r' ? nNewline - 1 : nNewline;
        line.text = content.substr(nPos, nEnd - nPos);
        line.eol = content.substr(nEnd, nNewline + 1 - nEnd);
        nPos = nNewline + 1;
      }
      m_lines.push_back(std::move(line));
    }
    for (size_t i = 0; i < m_lines.size(); ++i) Classify(m_lines[i], i == 0);
    // New lines follow the file's own convention; a new file gets Windows'.
    m_sEol = "\r\n";
    for (const ProfileLine& line : m_lines) {
      if (!line.eol.empty()) {
        m_sEol = line.eol;
        break;
      }
    }
  }

  std::string Content() const {
    std::string content;
    for (const ProfileLine& line : m_lines) content += line.text + line.eol;
    return content;
  }

  // Line index of the first section of that name, or npos.
  size_t FindSection(std::string_view section) const {
    for (size_t i = 0; i < m_lines.size(); ++i)
      if (m_lines[i].kind == LineKind::Section && SameName(m_lines[i].Name(), section)) return i;
    return npos;
  }

  // One past the last line of the section whose header is at nHeader.
  size_t SectionEnd(size_t nHeader) const {
    size_t i = nHeader + 1;
    while (i < m_lines.size() && m_lines[i].kind != LineKind::Section) ++i;
    return i;
  }

  // Line index of the first key of that name in the section, or npos.
  size_t FindKey(size_t nHeader, std::string_view key) const {
    for (size_t i = nHeader + 1; i < SectionEnd(nHeader); ++i)
      if (m_lines[i].kind == LineKind::Key && SameName(m_lines[i].Name(), key)) return i;
    return npos;
  }

  std::vector<std::string_view> SectionNames() const {
    std::vector<std::string_view> names;
    for (const ProfileLine& line : m_lines)
      if (line.kind == LineKind::Section) AddUnique(names, line.Name());
    return names;
  }

  std::vector<std::string_view> KeyNames(size_t nHeader) const {
    std::vector<std::string_view> names;
    for (size_t i = nHeader + 1; i < SectionEnd(nHeader); ++i)
      if (m_lines[i].kind == LineKind::Key && !m_lines[i].Name().empty())
        AddUnique(names, m_lines[i].Name());
    return names;
  }

  const ProfileLine& Line(size_t nIndex) const { return m_lines[nIndex]; }

  void RemoveLines(size_t nBegin, size_t nEnd) {
    // A byte order mark belongs to the file, not to the first line.
    const bool bKeepBom =
        nBegin == 0 && nEnd < m_lines.size() && m_lines[0].text.starts_with(kUtf8Bom);
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(nBegin),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(nEnd));
    if (bKeepBom) SetText(0, std::string(kUtf8Bom) + m_lines[0].text);
  }

  // Rewrites the key line at nIndex with a new value; its key name as written
  // in the file and its line ending stay.
  void ReplaceValue(size_t nIndex, std::string_view value) {
    std::string text = std::string(m_lines[nIndex].Name()) + "=" + std::string(value);
    SetText(nIndex, std::move(text));
  }

  // Inserts a line before nIndex (at most the line count).
  void InsertLine(size_t nIndex, std::string text) {
    // The line before needs an ending now that another line follows it.
    if (nIndex > 0 && m_lines[nIndex - 1].eol.empty()) m_lines[nIndex - 1].eol = m_sEol;
    ProfileLine line;
    line.eol = m_sEol;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(nIndex), std::move(line));
    SetText(nIndex, std::move(text));
  }

  // Where a new key of the section at nHeader goes: after its last line that
  // says something, so blank lines and comments before the next section stay
  // with that section.
  size_t NewKeyPosition(size_t nHeader) const {
    size_t nAfter = nHeader;
    for (size_t i = nHeader + 1; i < SectionEnd(nHeader); ++i)
      if (m_lines[i].kind == LineKind::Key || m_lines[i].kind == LineKind::Other) nAfter = i;
    return nAfter + 1;
  }

  size_t LineCount() const { return m_lines.size(); }

  static constexpr size_t npos = static_cast<size_t>(-1);

 private:
  static void AddUnique(std::vector<std::string_view>& names, std::string_view name) {
    for (std::string_view known : names)
      if (SameName(known, name)) return;
    names.push_back(name);
  }

  void SetText(size_t nIndex, std::string text) {
    m_lines[nIndex].text = std::move(text);
    Classify(m_lines[nIndex], nIndex == 0);
  }

  std::vector<ProfileLine> m_lines;
  std::string m_sEol;
};

// Reads the whole file; false with errno set when it cannot be read.
bool ReadWholeFile(const char* szPath, std::string& content) {
  const int nFd = open(szPath, O_RDONLY | O_CLOEXEC);
  if (nFd < 0) return false;
  char buffer[65536];
  for (;;) {
    const ssize_t nRead = read(nFd, buffer, sizeof buffer);
    if (nRead < 0 && errno == EINTR) continue;
    if (nRead <= 0) {
      const int nErrno = errno;
      close(nFd);
      errno = nErrno;
      return nRead == 0;
    }
    content.append(buffer, static_cast<size_t>(nRead));
  }
}

// Copies one text into the caller's buffer of nSize bytes (nSize > 0). A text
// that does not fit is cut before a whole character, and the result is then
// nSize - 1 whatever the cut, which is how Windows reports a cut.
DWORD CopyResult(std::string_view text, LPSTR lpBuffer, DWORD nSize) {
  if (text.size() < nSize) {
    text.copy(lpBuffer, text.size());
    lpBuffer[text.size()] = '\0';
    return static_cast<DWORD>(text.size());
  }
  const std::string whole(text);
  const size_t nCut = PalAnsiCutLength(whole.c_str(), nSize - 1);
  memcpy(lpBuffer, whole.data(), nCut);
  memset(lpBuffer + nCut, 0, nSize - nCut);
  return nSize - 1;
}

// Copies names as a list: each followed by a zero, the list by one more. A
// list that does not fit ends with its last name cut and two zeros, and the
// result is then nSize - 2.
DWORD CopyNameList(const std::vector<std::string_view>& names, LPSTR lpBuffer, DWORD nSize) {
  if (nSize < 2) {
    lpBuffer[0] = '\0';
    return 0;
  }
  size_t nUsed = 0;
  for (std::string_view name : names) {
    if (nUsed + name.size() + 2 > nSize) {
      const std::string whole(name);
      const size_t nCut = PalAnsiCutLength(whole.c_str(), nSize - 2 - nUsed);
      memcpy(lpBuffer + nUsed, whole.data(), nCut);
      memset(lpBuffer + nUsed + nCut, 0, nSize - nUsed - nCut);
      return nSize - 2;
    }
    name.copy(lpBuffer + nUsed, name.size());
    nUsed += name.size();
    lpBuffer[nUsed++] = '\0';
  }
  lpBuffer[nUsed] = '\0';
  if (nUsed == 0) lpBuffer[1] = '\0';  // an empty list still ends with two zeros
  return static_cast<DWORD>(nUsed);
}

// One pair of matching quotes around a value is not part of it.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

// Names and values that could not be read back as written (they would start
// a new line, a section or a comment, or end the name early) are refused.
bool IsWritable(std::string_view section, const char* lpKeyName, const char* lpString) {
  if (HasLineBreak(section) || section.find(']') != std::string_view::npos) return false;
  if (lpKeyName) {
    const std::string_view key = Trim(lpKeyName);
    if (key.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos ||
        key.front() == ';' || key.front() == '[')
      return false;
  }
  return !lpString || !HasLineBreak(lpString);
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
  if (!lpReturnedString || nSize == 0) return 0;
  std::string content;
  if (lpFileName && *lpFileName && !ReadWholeFile(lpFileName, content)) content.clear();
  const ProfileFile file(content);

  if (!lpAppName) return CopyNameList(file.SectionNames(), lpReturnedString, nSize);
  const size_t nHeader = file.FindSection(Trim(lpAppName));
  if (!lpKeyName) {
    if (nHeader == ProfileFile::npos) return CopyNameList({}, lpReturnedString, nSize);
    return CopyNameList(file.KeyNames(nHeader), lpReturnedString, nSize);
  }
  const std::string_view key = Trim(lpKeyName);
  if (key.empty()) return CopyResult({}, lpReturnedString, nSize);

  const size_t nKey = nHeader == ProfileFile::npos ? ProfileFile::npos : file.FindKey(nHeader, key);
  if (nKey != ProfileFile::npos)
    return CopyResult(Unquote(file.Line(nKey).Value()), lpReturnedString, nSize);
  // The default loses its trailing blanks, as on Windows.
  return CopyResult(TrimRight(lpDefault ? lpDefault : ""), lpReturnedString, nSize);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName) {
  if (!lpAppName || !lpFileName || !*lpFileName) return PalFailWith(ERROR_INVALID_PARAMETER);
  const std::string_view section = Trim(lpAppName);
  if (!IsWritable(section, lpKeyName, lpString)) return PalFailWith(ERROR_INVALID_PARAMETER);

  std::string content;
  if (!ReadWholeFile(lpFileName, content)) {
    // A file that exists but cannot be read must not be replaced blindly.
    if (errno != ENOENT) return PalFailWith(PalErrorFromErrno(errno));
    content.clear();
  }
  ProfileFile file(content);
  const size_t nHeader = file.FindSection(section);

  if (!lpKeyName || !lpString) {
    // Deleting what is not there changes nothing and creates no file.
    if (nHeader == ProfileFile::npos) return TRUE;
    if (!lpKeyName) {
      file.RemoveLines(nHeader, file.SectionEnd(nHeader));
    } else {
      const std::string_view key = Trim(lpKeyName);
      size_t nKey = file.FindKey(nHeader, key);
      if (nKey == ProfileFile::npos) return TRUE;
      for (; nKey != ProfileFile::npos; nKey = file.FindKey(nHeader, key))
        file.RemoveLines(nKey, nKey + 1);
    }
  } else {
    const std::string key(Trim(lpKeyName));
    const std::string_view value = TrimLeft(lpString);
    const std::string line = key + "=" + std::string(value);
    if (nHeader == ProfileFile::npos) {
      file.InsertLine(file.LineCount(), "[" + std::string(section) + "]");
      file.InsertLine(file.LineCount(), line);
    } else if (const size_t nKey = file.FindKey(nHeader, key); nKey != ProfileFile::npos) {
      file.ReplaceValue(nKey, value);
    } else {
      file.InsertLine(file.NewKeyPosition(nHeader), line);
    }
  }

  const std::string updated = file.Content();
  return PalWriteFileAtomically(lpFileName, 0666, false, [&](int nFd) {
    return PalWriteAll(nFd, updated.data(), updated.size());
  });
}
