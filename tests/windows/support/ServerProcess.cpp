#include "windows/support/ServerProcess.h"

#include "platform/win32.h"

#include <tlhelp32.h>

namespace {

constexpr wchar_t kServerFile[] = L"olstore-server.exe";

std::wstring QuoteArgument(const std::wstring& arg) { return L"\"" + arg + L"\""; }

// Every running process of this file name, opened with the rights asked for.
std::vector<HANDLE> OpenProcesses(const wchar_t* szFile, DWORD dwAccess) {
  std::vector<HANDLE> processes;
  HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (hSnapshot == INVALID_HANDLE_VALUE) return processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL bMore = Process32FirstW(hSnapshot, &entry); bMore;
       bMore = Process32NextW(hSnapshot, &entry)) {
    if (_wcsicmp(entry.szExeFile, szFile) != 0) continue;
    if (HANDLE hProcess = OpenProcess(dwAccess, FALSE, entry.th32ProcessID))
      processes.push_back(hProcess);
  }
  CloseHandle(hSnapshot);
  return processes;
}

std::vector<HANDLE> OpenServers(DWORD dwAccess) { return OpenProcesses(kServerFile, dwAccess); }

int KillProcesses(const wchar_t* szFile) {
  const std::vector<HANDLE> processes = OpenProcesses(szFile, PROCESS_TERMINATE | SYNCHRONIZE);
  for (HANDLE hProcess : processes) {
    TerminateProcess(hProcess, 9);
    WaitForSingleObject(hProcess, 5000);
    CloseHandle(hProcess);
  }
  return static_cast<int>(processes.size());
}

}  // namespace

std::wstring ServerPath() {
  wchar_t szPath[MAX_PATH] = {};
  const DWORD nLength = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
  std::wstring path(szPath, nLength);
  return path.substr(0, path.find_last_of(L"\\/") + 1) + kServerFile;
}

int RunServer(const std::vector<std::wstring>& args) {
  std::wstring command = QuoteArgument(ServerPath());
  for (const std::wstring& arg : args) command += L" " + QuoteArgument(arg);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD dwExit = 0;
  GetExitCodeProcess(process.hProcess, &dwExit);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(dwExit);
}

int KillServers() {
  const int nKilled = KillProcesses(kServerFile);
  // Windows' service control manager forgets the class object of a server
  // that died; Wine's rpcss goes on handing it out, so every later start of
  // the server would fail. COM starts rpcss again when it needs it, clean.
  if (nKilled > 0) KillProcesses(L"rpcss.exe");
  return nKilled;
}

bool WaitForNoServer() {
  const std::vector<HANDLE> processes = OpenServers(SYNCHRONIZE);
  bool bAllEnded = true;
  for (HANDLE hProcess : processes) {
    bAllEnded = WaitForSingleObject(hProcess, 5000) == WAIT_OBJECT_0 && bAllEnded;
    CloseHandle(hProcess);
  }
  return bAllEnded;
}

bool ReadClassesValue(const std::wstring& key, const wchar_t* name, std::wstring& value) {
  wchar_t buffer[1024] = {};
  DWORD nSize = sizeof buffer - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &nSize) !=
      ERROR_SUCCESS)
    return false;
  value = buffer;
  return true;
}

bool WriteClassesValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), name, REG_SZ, value.c_str(),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void DeleteClassesKey(const std::wstring& key) { RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str()); }
