// A scripted Outlook object model for the accessors' failure paths: an
// application, its namespace, default folders with subfolders and items, all
// answering by name through IDispatch, registered in the class table as
// "Outlook.Application". Every call is written to a journal, every object
// counts its references, and any member can be made to fail.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

class FakeObject final : public IDispatch {
 public:
  // Answers a method call; args are in automation order (last argument first).
  typedef std::function<HRESULT(const std::vector<VARIANT>& args, VARIANT* pResult)> Method;

  explicit FakeObject(std::string strLabel);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                          DISPID* rgDispId) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
                                   DISPPARAMS* pDispParams, VARIANT* pVarResult,
                                   EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

  const std::string& Label() const { return m_strLabel; }
  ULONG RefCount() const { return m_nRefs; }

  // Properties (readable and writable) and methods the object knows.
  void SetText(const std::string& strName, const std::string& strUtf8);
  void SetLong(const std::string& strName, int32_t nValue);
  void SetBool(const std::string& strName, bool bValue);
  void SetDate(const std::string& strName, DATE dtValue);
  void SetObject(const std::string& strName, FakeObject* pObject);
  void SetMethod(const std::string& strName, Method fnMethod);
  // Knows every member name: unset properties read as empty variants.
  void AcceptAnyMember() { m_bAnyMember = true; }
  // Every call of that member with one of these invoke flags fails with hr.
  void Fail(const std::string& strName, WORD wFlags, HRESULT hr);
  // Every call of that member raises an exception, as Outlook reports most
  // failures: DISP_E_EXCEPTION, with the code and the (ASCII) description in
  // the EXCEPINFO when the caller offers one.
  void Raise(const std::string& strName, HRESULT scode, const std::string& strDescription);

  // The property's current value as journal text ("" when it is unknown).
  std::string Value(const std::string& strName) const;

  // Objects alive over all fakes, and releases past a count of zero.
  static int LiveCount();
  static int OverReleases();

 private:
  ~FakeObject();
  void Put(const std::string& strName, const VARIANT& value);

  std::string m_strLabel;
  ULONG m_nRefs;
  bool m_bAnyMember;
  std::map<std::string, VARIANT> m_properties;
  std::map<std::string, Method> m_methods;
  std::map<std::string, std::pair<WORD, HRESULT>> m_failures;
  std::map<std::string, std::pair<HRESULT, std::string>> m_exceptions;
};

// The journal of every call any fake answered, one line each:
//   "<label>.get <Name>", "<label>.put <Name>=<value>", "<label>.<Method>(<args>)",
// with " -> 0x<status>" appended when the call failed.
std::vector<std::string>& FakeJournal();
// The journal lines of one object, without its label.
std::vector<std::string> FakeJournalOf(const std::string& strLabel);

// An automation value as journal text: texts quoted, booleans true/false,
// objects by label.
std::string FakeValueText(const VARIANT& value);

// The Outlook world. Items are found by "GetItemFromID" by entry ID and, when
// given, store ID.
class FakeOutlook {
 public:
  static constexpr const char* kStoreID = "STORE-MAIN";

  FakeOutlook();   // registers; folders "Contacts", "Calendar", "Tasks", "Notes"
  ~FakeOutlook();  // revokes and releases everything it holds
  FakeOutlook(const FakeOutlook&) = delete;
  FakeOutlook& operator=(const FakeOutlook&) = delete;

  FakeObject* App() const { return m_pApp; }
  FakeObject* NameSpace() const { return m_pNameSpace; }
  FakeObject* DefaultFolder(int32_t nFolder) const;
  // Objects the class factory handed out.
  int Creations() const { return m_nCreations; }

  FakeObject* AddFolder(FakeObject* pParent, const std::string& strName,
                        const std::string& strStore = kStoreID);
  // An item with its "EntryID" and a "Save" method that knows every other
  // property name too; label "Item:<entry ID>".
  FakeObject* AddItem(FakeObject* pFolder, const std::string& strEntryID);
  // The item is gone from Outlook: "GetItemFromID" no longer finds it.
  void DeleteItem(const std::string& strEntryID);
  // "GetDefaultFolder" fails for that folder.
  void MissFolder(int32_t nFolder) { m_missing.insert(nFolder); }

 private:
  struct Folder {
    FakeObject* pFolder;
    FakeObject* pItems;
    FakeObject* pFolders;
    std::vector<FakeObject*> items;
    std::vector<FakeObject*> subfolders;
    std::string strStore;
  };
  Folder* FindFolder(FakeObject* pFolder);
  void MakeCollection(FakeObject* pCollection, std::vector<FakeObject*>* pElements);
  HRESULT GetItemFromID(const std::vector<VARIANT>& args, VARIANT* pResult);

  FakeObject* m_pApp;
  FakeObject* m_pNameSpace;
  std::vector<Folder*> m_folders;  // owned
  std::map<int32_t, FakeObject*> m_defaultFolders;
  std::set<int32_t> m_missing;
  std::set<std::string> m_deleted;
  IClassFactory* m_pFactory;
  DWORD m_dwCookie;
  int m_nCreations;
};
