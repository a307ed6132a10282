#include "common/outlook/OlDate.h"

#include <iterator>
#include <span>

#include "common/misc/CxDebugUtil.h"
#include "common/outlook/OlProperty.h"

namespace {

#define DATE_TEXT(Field, Size) OL_PROPERTY(DateImage, DateField, Field, Text, Size)
#define DATE_VALUE(Field, Value) OL_PROPERTY(DateImage, DateField, Field, Value, 0)
#define DATE_WRITE(Field, When) OL_WRITE(DateField, Field, When)

// Properties of the appointment itself, in read order. The busy status,
// importance, sensitivity and reminder details come last: the catalogue lets
// the user change them, so records and viewers must hold their real values.
constexpr OlProperty kAppointmentProperties[] = {
    DATE_TEXT(EntryID, 1023),
    DATE_VALUE(AllDayEvent, Bool),
    DATE_VALUE(Duration, Long),
    DATE_VALUE(End, Date),
    DATE_VALUE(Start, Date),
    DATE_VALUE(ReminderSet, Flag32),
    DATE_VALUE(ReminderTime, Date),
    DATE_TEXT(Subject, 255),
    DATE_TEXT(Body, 20479),
    DATE_TEXT(Location, 255),
    DATE_TEXT(Categories, 255),
    DATE_VALUE(IsRecurring, Bool),
    // (the recurrence pattern is read here)
    DATE_VALUE(CreationTime, Date),
    DATE_VALUE(LastModificationTime, Date),
    DATE_VALUE(BusyStatus, Long),
    DATE_VALUE(Importance, Long),
    DATE_VALUE(Sensitivity, Long),
    DATE_VALUE(ReminderMinutesBeforeStart, Long),
    DATE_VALUE(ReminderOverrideDefault, Flag32),
    DATE_VALUE(ReminderPlaySound, Flag32),
    DATE_TEXT(ReminderSoundFile, 259),
};

// Properties of the recurrence pattern object.
constexpr OlProperty kPatternProperties[] = {
    DATE_VALUE(RecurrenceType, Long), DATE_VALUE(Interval, Long), DATE_VALUE(DayOfWeekMask, Long),
    DATE_VALUE(DayOfMonth, Long),     DATE_VALUE(Instance, Long), DATE_VALUE(MonthOfYear, Long),
    DATE_VALUE(PatternEndDate, Date),
};

constexpr size_t IndexOf(DateField nField) {
  for (size_t i = 0; i < std::size(kAppointmentProperties); ++i) {
    if (kAppointmentProperties[i].nField == static_cast<int>(nField)) return i;
  }
  return std::size(kAppointmentProperties);
}
constexpr size_t kBodyIndex = IndexOf(DateField::Body);
constexpr size_t kPatternIndex = IndexOf(DateField::CreationTime);
static_assert(kBodyIndex < kPatternIndex && kPatternIndex < std::size(kAppointmentProperties));

const DateImage& AsImage(const void* pImage) { return *static_cast<const DateImage*>(pImage); }

bool WhenIncludeBody(const void*, const void* pOwner) {
  return static_cast<const OlDateUtil*>(pOwner)->IncludeBody();
}
// A new end sets the duration; without one, a new start keeps it.
bool WhenEndKept(const void* pImage, const void*) {
  return !AsImage(pImage).Changed.Test(DateField::End);
}

// Write order. End comes after Start, so Outlook derives the duration from
// both; the catalogue's further fields follow the categories.
constexpr OlWriteStep kAppointmentWrites[] = {
    DATE_WRITE(AllDayEvent, nullptr),
    DATE_WRITE(Duration, WhenEndKept),
    DATE_WRITE(Start, nullptr),
    DATE_WRITE(End, nullptr),
    DATE_WRITE(ReminderSet, nullptr),
    DATE_WRITE(ReminderTime, nullptr),
    DATE_WRITE(Subject, nullptr),
    DATE_WRITE(Body, WhenIncludeBody),
    DATE_WRITE(Location, nullptr),
    DATE_WRITE(Categories, nullptr),
    DATE_WRITE(BusyStatus, nullptr),
    DATE_WRITE(Importance, nullptr),
    DATE_WRITE(Sensitivity, nullptr),
    DATE_WRITE(ReminderMinutesBeforeStart, nullptr),
    DATE_WRITE(ReminderOverrideDefault, nullptr),
    DATE_WRITE(ReminderPlaySound, nullptr),
    DATE_WRITE(ReminderSoundFile, nullptr),
};

// The pattern's details are written only where they say something.
constexpr OlWriteStep kPatternWrites[] = {
    DATE_WRITE(RecurrenceType, nullptr),
    DATE_WRITE(Interval, [](const void* p, const void*) { return AsImage(p).Interval > 0; }),
    DATE_WRITE(DayOfWeekMask,
               [](const void* p, const void*) { return AsImage(p).DayOfWeekMask > 0; }),
    DATE_WRITE(DayOfMonth, [](const void* p, const void*) { return AsImage(p).DayOfMonth > 0; }),
    DATE_WRITE(Instance, [](const void* p, const void*) { return AsImage(p).Instance > 0; }),
    DATE_WRITE(MonthOfYear, [](const void* p, const void*) { return AsImage(p).MonthOfYear > 0; }),
    DATE_WRITE(PatternEndDate,
               [](const void* p, const void*) { return AsImage(p).PatternEndDate > 1.0; }),
};

constexpr OlFolderSpec kCalendarFolder = {
    olFolderCalendar,
    {
        "Failed to get the name of the folder. hr=0x%x",
        "Got the name of the Calendar folder: %s",
        "Failed to get the StoreID of the Calendar folder. hr=0x%x",
        "Got the StoreID of the Calendar folder: %s",
        "Failed to get Calendar Items property.",
    },
    "Failed to call \"GetDefaultFolder\" method. hr=0x%x",
    "Get Outlook Calendar root folder successfully.",
    false,
};

// The appointment's recurrence pattern; the caller owns the reference.
IDispatch* GetRecurrencePattern(CDispCmd& item, HRESULT* phr) {
  VARIANT result;
  VariantInit(&result);
  HRESULT hr =
      item.Call(OLESTR("GetRecurrencePattern"), nullptr, 0, &result, DISPATCH_METHOD, nullptr, 0);
  if (SUCCEEDED(hr) && (result.vt != VT_DISPATCH || !result.pdispVal)) hr = DISP_E_TYPEMISMATCH;
  *phr = hr;
  if (FAILED(hr)) {
    VariantClear(&result);
    return nullptr;
  }
  return result.pdispVal;
}

}  // namespace

OlDateUtil::OlDateUtil(const char* szProfile)
    : OlFolderUtil(szProfile, kCalendarFolder), m_bIncludeBody(true) {}

bool OlDateUtil::ReadAppointment(IDispatch* pItem, DateImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  const std::span<const OlProperty> props(kAppointmentProperties);
  OlReadProperties(item, props.first(kBodyIndex), pImage, &pImage->Truncated, &pImage->Unread);
  if (m_bIncludeBody) {
    OlReadProperties(item, props.subspan(kBodyIndex, 1), pImage, &pImage->Truncated,
                     &pImage->Unread);
  } else {
    // Neither read nor written back, so no definition may count on it.
    pImage->Unread.Set(DateField::Body);
  }
  OlReadProperties(item, props.subspan(kBodyIndex + 1, kPatternIndex - kBodyIndex - 1), pImage,
                   &pImage->Truncated, &pImage->Unread);

  if (pImage->IsRecurring) {
    // A pattern that cannot be had leaves its fields 0 (a daily pattern).
    HRESULT hr = S_OK;
    if (IDispatch* pPattern = GetRecurrencePattern(item, &hr)) {
      CDispCmd pattern(pPattern);
      pPattern->Release();
      OlReadProperties(pattern, kPatternProperties, pImage, &pImage->Truncated, &pImage->Unread);
    }
  } else {
    pImage->RecurrenceType = -1;
  }

  OlReadProperties(item, props.subspan(kPatternIndex), pImage, &pImage->Truncated, &pImage->Unread);
  return true;
}

void OlDateUtil::GetSavedFields(const DateImage* pImage, FieldMarks* pSaved) const {
  OlSavedFields(kAppointmentWrites, pImage, pImage->Changed, this, pSaved);
  if (pImage->RecurrenceType >= 0)
    OlSavedFields(kPatternWrites, pImage, pImage->Changed, this, pSaved);
}

bool OlDateUtil::SaveItem(const DateImage* pImage) {
  return SaveImage(
      pImage, [this](IDispatch* pItem, const DateImage* p) { return WriteAppointment(pItem, p); });
}

bool OlDateUtil::WriteAppointment(IDispatch* pItem, const DateImage* pImage) {
  if (!pItem || !pImage) return false;
  CDispCmd item(pItem);
  const auto fnPattern = [this, pImage](CDispCmd& appointment, std::string* pFailure) {
    if (pImage->RecurrenceType < 0 || !OlAnyMarked(kPatternWrites, pImage->Changed)) return true;
    HRESULT hr = S_OK;
    IDispatch* pPattern = GetRecurrencePattern(appointment, &hr);
    if (!pPattern) {
      QM_LOG(0, "Failed to get the recurrence pattern, hr=0x%08x", static_cast<unsigned>(hr));
      *pFailure = "the recurrence pattern cannot be reached";
      return false;
    }
    CDispCmd pattern(pPattern);
    pPattern->Release();
    return OlWriteProperties(pattern, kPatternProperties, kPatternWrites, pImage, pImage->Changed,
                             pImage->Truncated, this, pFailure);
  };
  return WriteAndSave(item, kAppointmentProperties, kAppointmentWrites, pImage, pImage->Changed,
                      pImage->Truncated, fnPattern);
}
