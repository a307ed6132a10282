// The Application object: one running instance per process, as Outlook has.
// Creating "Outlook.Application" while it is referenced attaches to it.
#include <mutex>

#include "olstore/Dispatch.h"
#include "olstore/Files.h"
#include "olstore/Objects.h"
#include "olstore/Text.h"
#include "olstore/olstore.h"

namespace olstore {

namespace {

enum Tag : int32_t { kGetNameSpace, kVersion, kName };

class ApplicationObject;
std::mutex g_runningMutex;
ApplicationObject* g_running = nullptr;

class ApplicationObject final : public DispatchObject {
 public:
  explicit ApplicationObject(std::shared_ptr<Store> store) : m_store(std::move(store)) {}

 protected:
  ~ApplicationObject() override {
    std::lock_guard<std::mutex> lock(g_runningMutex);
    if (g_running == this) g_running = nullptr;
  }

  const MemberTable& Members() const override {
    static const MemberTable kMembers({
        {"GetNameSpace", MemberKind::Method, 1, 1, kGetNameSpace},
        {"Version", MemberKind::ReadOnlyProperty, 0, 0, kVersion},
        {"Name", MemberKind::ReadOnlyProperty, 0, 0, kName},
    });
    return kMembers;
  }

  HRESULT Get(const Member& member, VARIANT* result) override {
    return ReturnText(result, member.tag == kVersion ? Version() : "Outlook");
  }

  HRESULT Call(const Member&, std::span<const VARIANT* const> args, VARIANT* result) override {
    const std::optional<std::string> type = TextFromVariant(*args[0]);
    if (!type) return DISP_E_TYPEMISMATCH;
    if (!EqualsNoCase(*type, "MAPI")) return E_INVALIDARG;  // MAPI is the only namespace
    return ReturnObject(result, NewNameSpace(m_store, this));
  }

 private:
  std::shared_ptr<Store> m_store;
};

}  // namespace

IDispatch* AttachApplication(HRESULT& hr) {
  std::lock_guard<std::mutex> lock(g_runningMutex);
  if (g_running) {
    g_running->AddRef();
    hr = S_OK;
    return g_running;
  }
  const std::string path = ResolveStorePath();
  std::string error;
  // Only the store's own tool makes a store: a mistyped path must not become
  // an empty store that the program then shows as if it were the user's.
  std::shared_ptr<Store> store = Store::Open(path, error, false);
  if (!store) {
    if (ProbeFile(path) == FileState::Missing)
      error = "there is no store there (olstore init makes one, olstore seed one with demo data)";
    ReportOpenError(path, error);
    hr = E_FAIL;
    return nullptr;
  }
  ReportOpenError({}, {});
  g_running = new ApplicationObject(std::move(store));
  hr = S_OK;
  return g_running;
}

}  // namespace olstore
