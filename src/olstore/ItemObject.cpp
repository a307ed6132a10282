// An item of any kind, and an appointment's recurrence pattern. Puts change
// the object only; "Save" stores them, so an item fetched again sees what was
// saved and nothing else.
#include "olstore/Dispatch.h"
#include "olstore/Objects.h"
#include "olstore/Rules.h"

namespace olstore {

namespace {

// Members every item has; property members carry their property's index.
enum Tag : int32_t {
  kEntryID = -1,
  kClass = -2,
  kMessageClass = -3,
  kCreationTime = -4,
  kLastModificationTime = -5,
  kSaved = -6,
  kSave = -7,
  kGetRecurrencePattern = -8,
  kClearRecurrencePattern = -9,
};

std::vector<Member> PropertyMembers(const KindInfo& info, Scope scope) {
  std::vector<Member> members;
  for (size_t i = 0; i < info.props.size(); ++i) {
    const PropDef& prop = info.props[i];
    if (prop.scope != scope || prop.access == Access::Hidden) continue;
    const MemberKind kind =
        prop.access == Access::ReadWrite ? MemberKind::Property : MemberKind::ReadOnlyProperty;
    members.push_back({prop.name, kind, 0, 0, static_cast<int32_t>(i)});
    if (!prop.alias.empty()) members.push_back({prop.alias, kind, 0, 0, static_cast<int32_t>(i)});
  }
  return members;
}

MemberTable MakeItemMembers(const KindInfo& info) {
  std::vector<Member> members = {
      {"EntryID", MemberKind::ReadOnlyProperty, 0, 0, kEntryID},
      {"Class", MemberKind::ReadOnlyProperty, 0, 0, kClass},
      {"MessageClass", MemberKind::ReadOnlyProperty, 0, 0, kMessageClass},
      {"CreationTime", MemberKind::ReadOnlyProperty, 0, 0, kCreationTime},
      {"LastModificationTime", MemberKind::ReadOnlyProperty, 0, 0, kLastModificationTime},
      {"Saved", MemberKind::ReadOnlyProperty, 0, 0, kSaved},
      {"Save", MemberKind::Method, 0, 0, kSave},
  };
  if (info.recurringIndex != kNoIndex) {
    members.push_back({"GetRecurrencePattern", MemberKind::Method, 0, 0, kGetRecurrencePattern});
    members.push_back({"ClearRecurrencePattern", MemberKind::Method, 0, 0, kClearRecurrencePattern});
  }
  for (const Member& member : PropertyMembers(info, Scope::Item)) members.push_back(member);
  return MemberTable(std::move(members));
}

const MemberTable& ItemMembers(ItemKind kind) {
  static const std::vector<MemberTable> kTables = [] {
    std::vector<MemberTable> tables;
    for (const KindInfo& info : AllKinds()) tables.push_back(MakeItemMembers(info));
    return tables;
  }();
  return kTables[static_cast<size_t>(kind)];
}

class ItemObject final : public DispatchObject {
 public:
  // An item with its values, or (loaded false) one fetched by its entry ID
  // whose values are read only once a member needs them: an item fetched to
  // put one property and save reads nothing else.
  ItemObject(std::shared_ptr<Store> store, ItemData item, bool loaded)
      : m_store(std::move(store)),
        m_item(std::move(item)),
        m_loaded(loaded),
        m_changed(m_item.Info().props.size(), false) {
    if (!m_loaded) m_item.values.resize(m_item.Info().props.size());
  }

  HRESULT GetProperty(size_t index, VARIANT* result) {
    if (const HRESULT hr = Load(); FAILED(hr)) return hr;
    if (std::optional<Value> computed = ComputedValue(m_item, index))
      return ReturnValue(result, *computed);
    return ReturnValue(result, m_item.values[index]);  // no copy of a long text
  }

  HRESULT PutProperty(size_t index, const VARIANT& variant) {
    const std::optional<Value> value = ValueFromVariant(variant, m_item.Info().props[index].type);
    if (!value) return DISP_E_TYPEMISMATCH;
    if (!LinkedPutOf(m_item.kind, index)) {
      const PutStatus status = PutValue(m_item, index, *value);
      if (status == PutStatus::Ok) m_dirty = m_changed[index] = true;
      return StatusOf(status);
    }
    PutStatus status = PutStatus::Ok;
    if (const HRESULT hr = Linked([&] { status = PutValue(m_item, index, *value); }); FAILED(hr))
      return hr;
    if (status == PutStatus::Ok) m_dirty = true;  // as any accepted put, even of the same value
    return StatusOf(status);
  }

 protected:
  const MemberTable& Members() const override { return ItemMembers(m_item.kind); }

  HRESULT Get(const Member& member, VARIANT* result) override {
    switch (member.tag) {
      case kEntryID: return ReturnText(result, m_item.entryId);
      case kClass: return ReturnInt(result, m_item.Info().olClass);
      case kMessageClass: return ReturnText(result, m_item.Info().messageClass);
      case kCreationTime: return ReturnDate(result, m_item.created);
      case kLastModificationTime: return ReturnDate(result, m_item.modified);
      case kSaved: return ReturnBool(result, !m_dirty);
      default: return GetProperty(static_cast<size_t>(member.tag), result);
    }
  }

  HRESULT Put(const Member& member, const VARIANT& value) override {
    return PutProperty(static_cast<size_t>(member.tag), value);
  }

  HRESULT Call(const Member& member, std::span<const VARIANT* const>, VARIANT* result) override;

 private:
  HRESULT Load() {
    if (m_loaded) return S_OK;
    // Puts made before the values were read stay over what is read.
    std::vector<Value> own = std::move(m_item.values);
    if (!m_store->LoadValues(m_item)) {
      m_item.values = std::move(own);
      return kMapiENotFound;  // deleted meanwhile
    }
    for (size_t i = 0; i < own.size(); ++i)
      if (m_changed[i]) m_item.values[i] = std::move(own[i]);
    m_loaded = true;
    return S_OK;
  }

  // A change that may reach any value (a linked put, a new or cleared
  // pattern): the values it changed are found by comparing.
  template <typename TChange>
  HRESULT Linked(TChange change) {
    if (const HRESULT hr = Load(); FAILED(hr)) return hr;
    const std::vector<Value> before = m_item.values;
    change();
    for (size_t i = 0; i < before.size(); ++i)
      if (m_item.values[i] != before[i]) m_dirty = m_changed[i] = true;
    return S_OK;
  }

  HRESULT Save() {
    if (!m_dirty) return S_OK;
    std::vector<size_t> changed;
    for (size_t i = 0; i < m_changed.size(); ++i)
      if (m_changed[i]) changed.push_back(i);
    switch (m_store->SaveItem(m_item, changed)) {
      case SaveResult::Saved:
        m_dirty = false;
        m_changed.assign(m_changed.size(), false);
        return S_OK;
      case SaveResult::NotFound: return kMapiENotFound;  // deleted meanwhile
      case SaveResult::Locked:
        return kMapiEBusy;
      case SaveResult::Failed: break;
    }
    return E_FAIL;
  }

  std::shared_ptr<Store> m_store;
  ItemData m_item;
  bool m_loaded;
  bool m_dirty = false;         // puts not yet saved
  std::vector<bool> m_changed;  // by property: put since the last save
};

// The pattern of one appointment: its puts are the appointment's own, saved
// with it, as Outlook's pattern object belongs to its item.
class RecurrencePatternObject final : public DispatchObject {
 public:
  explicit RecurrencePatternObject(ItemObject* item) : m_item(item) { m_item->AddRef(); }

 protected:
  ~RecurrencePatternObject() override { m_item->Release(); }

  const MemberTable& Members() const override {
    static const MemberTable kMembers(PropertyMembers(Kind(ItemKind::Appointment), Scope::Pattern));
    return kMembers;
  }

  HRESULT Get(const Member& member, VARIANT* result) override {
    return m_item->GetProperty(static_cast<size_t>(member.tag), result);
  }

  HRESULT Put(const Member& member, const VARIANT& value) override {
    return m_item->PutProperty(static_cast<size_t>(member.tag), value);
  }

 private:
  ItemObject* m_item;
};

HRESULT ItemObject::Call(const Member& member, std::span<const VARIANT* const>, VARIANT* result) {
  switch (member.tag) {
    case kSave: return Save();
    case kGetRecurrencePattern: {
      const HRESULT hr = Linked([this] {
        if (!m_item.BoolAt(m_item.Info().recurringIndex)) MakeRecurring(m_item);
      });
      if (FAILED(hr)) return hr;
      return ReturnObject(result, new RecurrencePatternObject(this));
    }
    case kClearRecurrencePattern:
      return Linked([this] {
        if (m_item.BoolAt(m_item.Info().recurringIndex)) ClearRecurrence(m_item);
      });
    default: return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace

IDispatch* NewItemObject(std::shared_ptr<Store> store, ItemData item, bool loaded) {
  return new ItemObject(std::move(store), std::move(item), loaded);
}

}  // namespace olstore
