// The Win32 / COM / OLE automation subset the program calls, under the Windows
// names, types and signatures. On Windows this is the system headers; on Linux
// the declarations below are implemented by the sources in platform/linux.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <shlobj.h>
#include <shellapi.h>
#include <winver.h>
#include <stdlib.h>

#define PAL_PATH_SEPARATOR '\\'
#define PAL_PATH_SEPARATOR_STR "\\"

#else  // Linux: the platform adaptation layer

#include <cstddef>
#include <cstdint>

// ---- Base types -------------------------------------------------------------
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int BOOL;
typedef char CHAR;
typedef char16_t WCHAR;
typedef WCHAR OLECHAR;
typedef float FLOAT;
typedef double DOUBLE;
typedef void VOID;
typedef void* PVOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef BOOL* LPBOOL;
typedef UINT* PUINT;
typedef CHAR* LPSTR;
typedef const CHAR* LPCSTR;
typedef const CHAR* LPCCH;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef const WCHAR* LPCWCH;
typedef OLECHAR* LPOLESTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* BSTR;
typedef LONG HRESULT;
typedef LONG SCODE;
typedef DWORD LCID;
typedef LONG DISPID;
typedef USHORT VARTYPE;
typedef SHORT VARIANT_BOOL;
typedef double DATE;
typedef DWORD REGSAM;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256

#define OLESTR(str) u##str

typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef void* HANDLE;
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

// ---- Status codes -----------------------------------------------------------
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define S_OK ((HRESULT)0L)
#define S_FALSE ((HRESULT)1L)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define E_POINTER ((HRESULT)0x80004003L)
#define E_FAIL ((HRESULT)0x80004005L)
#define E_UNEXPECTED ((HRESULT)0x8000FFFFL)
#define E_ACCESSDENIED ((HRESULT)0x80070005L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define E_INVALIDARG ((HRESULT)0x80070057L)
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001L)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004L)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005L)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008L)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009L)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000EL)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0L)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3L)
#define CO_E_OBJNOTCONNECTED ((HRESULT)0x800401FDL)
#define RPC_E_CALL_REJECTED ((HRESULT)0x80010001L)
#define RPC_E_DISCONNECTED ((HRESULT)0x80010108L)
#define RPC_E_SERVERCALL_RETRYLATER ((HRESULT)0x8001010AL)
#define RPC_E_SERVERFAULT ((HRESULT)0x80010105L)

#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_WRITE_FAULT 29L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L

#define HRESULT_FROM_WIN32(x) \
  ((HRESULT)(x) <= 0 ? ((HRESULT)(x)) : ((HRESULT)(((x) & 0x0000FFFF) | (7 << 16) | 0x80000000)))

// ---- GUIDs --------------------------------------------------------------------
typedef struct _GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;
typedef CLSID* LPCLSID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef const GUID& REFGUID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

extern const IID IID_NULL;
extern const IID IID_IUnknown;
extern const IID IID_IDispatch;
extern const IID IID_IClassFactory;
extern const IID IID_IMessageFilter;

// ---- COM interfaces -----------------------------------------------------------
#define STDMETHODCALLTYPE

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
 protected:
  ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

struct IDispatch;
struct ITypeInfo;  // never implemented: no type information is offered
typedef struct tagVARIANT VARIANT;
typedef VARIANT VARIANTARG;

typedef struct tagVARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONGLONG llVal;
    LONG lVal;
    BYTE bVal;
    SHORT iVal;
    FLOAT fltVal;
    DOUBLE dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    PVOID byref;
  };
} VARIANT;

typedef struct tagDISPPARAMS {
  VARIANTARG* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;

typedef struct tagEXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  PVOID pvReserved;
  HRESULT(STDMETHODCALLTYPE* pfnDeferredFillIn)(struct tagEXCEPINFO*);
  SCODE scode;
} EXCEPINFO;

struct IDispatch : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames,
                                                  LCID lcid, DISPID* rgDispId) = 0;
  virtual HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid,
                                           WORD wFlags, DISPPARAMS* pDispParams,
                                           VARIANT* pVarResult, EXCEPINFO* pExcepInfo,
                                           UINT* puArgErr) = 0;
 protected:
  ~IDispatch() = default;
};

struct IClassFactory : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                                   void** ppvObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE LockServer(BOOL fLock) = 0;
 protected:
  ~IClassFactory() = default;
};

// Calls between apartments are filtered; in-process calls here never are, but
// the program registers its filter the same way on both systems.
typedef struct HTASK__* HTASK;
typedef struct tagINTERFACEINFO {
  IUnknown* pUnk;
  IID iid;
  WORD wMethod;
} INTERFACEINFO, *LPINTERFACEINFO;

enum tagSERVERCALL { SERVERCALL_ISHANDLED = 0, SERVERCALL_REJECTED = 1, SERVERCALL_RETRYLATER = 2 };
enum tagPENDINGMSG {
  PENDINGMSG_CANCELCALL = 0,
  PENDINGMSG_WAITNOPROCESS = 1,
  PENDINGMSG_WAITDEFPROCESS = 2
};

struct IMessageFilter : public IUnknown {
  virtual DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD dwCallType, HTASK htaskCaller,
                                                     DWORD dwTickCount,
                                                     LPINTERFACEINFO lpInterfaceInfo) = 0;
  virtual DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK htaskCallee, DWORD dwTickCount,
                                                    DWORD dwRejectType) = 0;
  virtual DWORD STDMETHODCALLTYPE MessagePending(HTASK htaskCallee, DWORD dwTickCount,
                                                 DWORD dwPendingType) = 0;
 protected:
  ~IMessageFilter() = default;
};
typedef IMessageFilter* LPMESSAGEFILTER;

enum VARENUM {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_DISPATCH = 9,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_UNKNOWN = 13,
  VT_UI1 = 17,
  VT_I8 = 20,
};

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE (0)
#define DISPID_PROPERTYPUT (-3)

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_USER_DEFAULT 0x0400

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_REMOTE_SERVER 0x10

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2

#define REGCLS_SINGLEUSE 0
#define REGCLS_MULTIPLEUSE 1

// ---- Automation strings and variants -----------------------------------------
BSTR SysAllocString(const OLECHAR* psz);
BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui);
void SysFreeString(BSTR bstrString);
UINT SysStringLen(BSTR pbstr);
void VariantInit(VARIANTARG* pvarg);
HRESULT VariantClear(VARIANTARG* pvarg);
HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);

// ---- COM runtime ---------------------------------------------------------------
HRESULT CoInitialize(LPVOID pvReserved);
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void CoUninitialize();
HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv);
HRESULT OleRun(LPUNKNOWN pUnknown);
HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD dwClsContext, DWORD flags,
                              LPDWORD lpdwRegister);
HRESULT CoRevokeClassObject(DWORD dwRegister);
// One filter per apartment (thread); the previous one is handed back.
HRESULT CoRegisterMessageFilter(LPMESSAGEFILTER lpMessageFilter,
                                LPMESSAGEFILTER* lplpMessageFilter);

// ---- Time -----------------------------------------------------------------------
typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME, *PSYSTEMTIME, *LPSYSTEMTIME;

void GetLocalTime(LPSYSTEMTIME lpSystemTime);
INT VariantTimeToSystemTime(DOUBLE vtime, LPSYSTEMTIME lpSystemTime);
INT SystemTimeToVariantTime(LPSYSTEMTIME lpSystemTime, DOUBLE* pvtime);

// ---- Text conversion (CP_ACP is UTF-8 here) -------------------------------------
#define CP_ACP 0
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x08
#define WC_ERR_INVALID_CHARS 0x80
// The ANSI code page in use: always CP_UTF8 here.
UINT GetACP(void);
// Lowers the case of the first cchLength characters in place, as Unicode's
// simple case mapping does (units of surrogate pairs are left as they are);
// returns the number of units processed.
DWORD CharLowerBuffW(LPWSTR lpsz, DWORD cchLength);
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCCH lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWCH lpWideCharStr, int cchWideChar,
                        LPSTR lpMultiByteStr, int cbMultiByte, LPCCH lpDefaultChar,
                        LPBOOL lpUsedDefaultChar);

// ---- Profile (INI) files ----------------------------------------------------------
DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName);
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName);

// ---- Files, processes, threads ------------------------------------------------------
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x01
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_DEVICE 0x40
#define FILE_ATTRIBUTE_NORMAL 0x80
BOOL CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists);
DWORD GetFileAttributesA(LPCSTR lpFileName);
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);
DWORD GetCurrentProcessId();
DWORD GetCurrentThreadId();
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
void Sleep(DWORD dwMilliseconds);
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);

// ---- Shell ---------------------------------------------------------------------------
#define CSIDL_COMMON_APPDATA 0x0023
#define CSIDL_FLAG_CREATE 0x8000
#define SHGFP_TYPE_CURRENT 0
#define SW_SHOW 5
#define SW_SHOWNORMAL 1
// ShellExecuteA answers a value above 32 on success, one of these on failure.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_NOASSOC 31
HRESULT SHGetFolderPathA(HWND hwnd, int csidl, HANDLE hToken, DWORD dwFlags, LPSTR pszPath);
HINSTANCE ShellExecuteA(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                        LPCSTR lpDirectory, INT nShowCmd);

// ---- Registry and version resources (none on Linux: every lookup finds nothing) -------
#define HKEY_CLASSES_ROOT ((HKEY)(uintptr_t)0x80000000)
#define HKEY_CURRENT_USER ((HKEY)(uintptr_t)0x80000001)
#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)0x80000002)
#define KEY_QUERY_VALUE 0x0001
#define KEY_READ 0x20019
#define REG_SZ 1
LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired,
                   PHKEY phkResult);
LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                      LPBYTE lpData, LPDWORD lpcbData);
LONG RegCloseKey(HKEY hKey);

typedef struct tagVS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
} VS_FIXEDFILEINFO;
DWORD GetFileVersionInfoSizeA(LPCSTR lptstrFilename, LPDWORD lpdwHandle);
BOOL GetFileVersionInfoA(LPCSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData);
BOOL VerQueryValueA(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen);

#define HIWORD(l) ((WORD)((((DWORD)(l)) >> 16) & 0xffff))
#define LOWORD(l) ((WORD)(((DWORD)(l)) & 0xffff))

#define PAL_PATH_SEPARATOR '/'
#define PAL_PATH_SEPARATOR_STR "/"

#endif  // _WIN32

#include <cstdio>

// ---- The layer's own helpers, on both systems ----------------------------------------

// Maps a ProgID to the class an in-process server registered with
// CoRegisterClassObject, so that CLSIDFromProgID finds it. Here that is the
// layer's class table; on Windows the ProgID's key under HKEY_CLASSES_ROOT,
// which is never taken from a server that another program registered there
// (then HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)). Revoking removes only a
// registration made this way.
HRESULT PalRegisterProgID(LPCOLESTR lpszProgID, REFCLSID rclsid);
HRESULT PalRevokeProgID(LPCOLESTR lpszProgID);

// Every shell open of the program goes through PalShellExecute, which is
// ShellExecuteA unless a hook is set: tests record shell opens through the hook
// instead of starting programs. None restores the real shell.
typedef void (*PalShellExecuteHook)(LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                                    LPCSTR lpDirectory);
void PalSetShellExecuteHook(PalShellExecuteHook hook);
HINSTANCE PalShellExecute(HWND hwnd, LPCSTR lpOperation, LPCSTR lpFile, LPCSTR lpParameters,
                          LPCSTR lpDirectory, INT nShowCmd);

// Whether a shell open worked is not always known when ShellExecuteA returns:
// xdg-open gives its verdict only when it ends, which may be after the opened
// program ends. Every open that fails, at once or later, is told to this hook
// with the name and an SE_ERR_ code, on whatever thread learnt of it. Once
// none is set, no call of the old hook is still running.
typedef void (*PalShellOpenFailedHook)(LPCSTR lpFile, int nShellError);
void PalSetShellOpenFailedHook(PalShellOpenFailedHook hook);
void PalShellOpenFailed(LPCSTR lpFile, int nShellError);

// The length of the longest prefix of szText that has at most nMaxBytes bytes
// and does not end inside a character of the ANSI code page: where a text of
// the program may be cut. A null text has none.
size_t PalAnsiCutLength(LPCSTR szText, size_t nMaxBytes);

// TRUE when the C library stream pFile writes to or reads from a terminal
// (a console on Windows), where a person follows it.
BOOL PalIsTerminal(FILE* pFile);

// ---- Files named in UTF-8 ----------------------------------------------------------
// The local Outlook store names its files and reads its settings in UTF-8 on
// both systems, whatever the ANSI code page; these take and give such texts.

// The attributes of what szPath names, as GetFileAttributes gives them, with
// FILE_ATTRIBUTE_READONLY also for a file this process may not write and
// FILE_ATTRIBUTE_DEVICE for anything that is neither a file nor a folder;
// INVALID_FILE_ATTRIBUTES with the last error set when there is nothing.
DWORD PalGetFileAttributesUtf8(LPCSTR szPath);

// Gives the complete file szFrom the name szTo in one step: readers see the
// file that had the name or the new one, never a half-written one. With
// bReplace a file named szTo is replaced; without it, it stays as it is and
// the answer is ERROR_ALREADY_EXISTS. ERROR_SUCCESS when szFrom has the new
// name; otherwise the error, szFrom is still there and szError (nErrorSize
// bytes, may be null) holds the system's words for the error.
DWORD PalRenameFileUtf8(LPCSTR szFrom, LPCSTR szTo, BOOL bReplace, LPSTR szError,
                        DWORD nErrorSize);

// The value of the environment variable lpName, as GetEnvironmentVariableA
// answers: its length without the terminating zero; the size it needs, zero
// included, when nSize is too small; 0 when the variable is not set.
DWORD PalGetEnvironmentVariableUtf8(LPCSTR lpName, LPSTR lpBuffer, DWORD nSize);

// Where the user's programs keep their data: $XDG_DATA_HOME when it is an
// absolute path, else ~/.local/share; on Windows the user's local application
// data folder. Answers as PalGetEnvironmentVariableUtf8; 0 when none is known.
DWORD PalGetUserDataFolderUtf8(LPSTR lpBuffer, DWORD nSize);

// ---- The local Outlook (library localoutlook) ------------------------------------------
// Where no Outlook is installed, a local implementation of its object model can
// answer "Outlook.Application": on Linux the local Outlook store, on Windows
// none (the registry knows the real Outlook). Kept apart from the layer's own
// library because it brings the store with it.

// What the wizard shows of a local Outlook and what "Open Outlook" opens for it.
typedef struct tagPAL_LOCAL_OUTLOOK {
  CHAR szVersion[64];          // its version, e.g. "1.0.0"
  CHAR szDataFile[MAX_PATH];   // the file that holds its items
  CHAR szDataFolder[MAX_PATH]; // the folder of that file
  BOOL bDataFileExists;        // whether that file is there (it may still be refused)
  CHAR szProblem[512];         // why the file was refused when last opened; empty when it was not
} PAL_LOCAL_OUTLOOK;

// Makes the local Outlook answer "Outlook.Application" in this process (COM
// initialised on the calling thread). TRUE when it does, or when there is none
// to start; FALSE with the reason in szReason (nSize bytes, may be null).
BOOL PalStartLocalOutlook(LPSTR szReason, DWORD nSize);

// TRUE, with pInfo filled, when the Outlook answering "Outlook.Application" in
// this process is the local one; FALSE (pInfo zero-filled) otherwise.
BOOL PalGetLocalOutlook(PAL_LOCAL_OUTLOOK* pInfo);
