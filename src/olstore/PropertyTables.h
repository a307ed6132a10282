// The property tables of the five item kinds. Table order is the order of the
// database columns, of "show" and of the JSON exchange.
#pragma once

#include <string_view>

#include "olstore/Kinds.h"

namespace olstore::tables {

constexpr PropDef Text(std::string_view name) { return {.name = name}; }
constexpr PropDef Date(std::string_view name) { return {.name = name, .type = ValueType::Date}; }
constexpr PropDef Bool(std::string_view name, bool def = false) {
  return {.name = name, .type = ValueType::Bool, .def = def ? 1 : 0};
}
constexpr PropDef Int(std::string_view name, int32_t lo = INT32_MIN, int32_t hi = INT32_MAX,
                      int32_t def = 0) {
  return {.name = name, .type = ValueType::Int, .lo = lo, .hi = hi, .def = def};
}
constexpr PropDef ReadOnly(PropDef prop) {
  prop.access = Access::ReadOnly;
  return prop;
}
// Computed from other properties by the kind's rules; no column of its own.
constexpr PropDef Computed(PropDef prop) {
  prop.stored = false;
  return prop;
}
constexpr PropDef InPattern(PropDef prop) {
  prop.scope = Scope::Pattern;
  return prop;
}

inline constexpr PropDef kContact[] = {
    Text("Account"), Date("Anniversary"), Text("AssistantName"), Text("AssistantTelephoneNumber"),
    Date("Birthday"), Text("Business2TelephoneNumber"), Text("BusinessAddressCity"),
    Text("BusinessAddressCountry"), Text("BusinessAddressPostalCode"),
    Text("BusinessAddressPostOfficeBox"), Text("BusinessAddressState"),
    Text("BusinessAddressStreet"), Text("BusinessFaxNumber"), Text("BusinessHomePage"),
    Text("BusinessTelephoneNumber"), Text("CallbackTelephoneNumber"), Text("CarTelephoneNumber"),
    Text("CompanyMainTelephoneNumber"), Text("CompanyName"), Text("ComputerNetworkName"),
    Text("CustomerID"), Text("Department"), Text("Email1Address"), Text("Email1AddressType"),
    Text("Email1DisplayName"), Text("Email2Address"), Text("Email2AddressType"),
    Text("Email2DisplayName"), Text("Email3Address"), Text("Email3AddressType"),
    Text("Email3DisplayName"), Text("FirstName"), Text("FTPSite"), Text("FullName"),
    Int("Gender", 0, 2),  // OlGender: 0 unspecified, 1 female, 2 male
    Text("Hobby"), Text("Home2TelephoneNumber"), Text("HomeAddressCity"),
    Text("HomeAddressCountry"), Text("HomeAddressPostalCode"), Text("HomeAddressPostOfficeBox"),
    Text("HomeAddressState"), Text("HomeAddressStreet"), Text("HomeFaxNumber"),
    Text("HomeTelephoneNumber"), Text("IMAddress"), Text("Initials"), Text("ISDNNumber"),
    Text("JobTitle"), Text("Language"), Text("LastName"), Text("MailingAddressCity"),
    Text("MailingAddressCountry"), Text("MailingAddressPostalCode"),
    Text("MailingAddressPostOfficeBox"), Text("MailingAddressState"), Text("MailingAddressStreet"),
    Text("ManagerName"), Text("MiddleName"), Text("MobileTelephoneNumber"), Text("NickName"),
    Text("OtherAddressCity"), Text("OtherAddressCountry"), Text("OtherAddressPostalCode"),
    Text("OtherAddressPostOfficeBox"), Text("OtherAddressState"), Text("OtherAddressStreet"),
    Text("OtherTelephoneNumber"), Text("PagerNumber"), Text("PersonalHomePage"),
    Text("PrimaryTelephoneNumber"), Text("Profession"), Text("RadioTelephoneNumber"),
    Text("Spouse"), Text("Suffix"), Text("Title"), Text("WebPage"), Text("Body"),
    Text("Categories"),
};

inline constexpr PropDef kDistList[] = {
    {.name = "DLName", .alias = "Subject"},
    Text("Body"),
    Text("Categories"),
    {.name = "Members", .type = ValueType::Members, .access = Access::Hidden},
    Computed(ReadOnly(Int("MemberCount"))),
};

inline constexpr PropDef kAppointment[] = {
    Text("Subject"), Text("Location"), Text("Body"), Text("Categories"),
    Date("Start"), Date("End"),
    Computed(Int("Duration", 0)),  // minutes from Start to End
    Bool("AllDayEvent"),
    Int("BusyStatus", 0, 3, 2),  // OlBusyStatus: free, tentative, busy, out of office
    Int("Importance", 0, 2, 1),  // OlImportance: low, normal, high
    Int("Sensitivity", 0, 3),    // OlSensitivity: normal, personal, private, confidential
    Bool("ReminderSet", true), Int("ReminderMinutesBeforeStart", 0, INT32_MAX, 15),
    Computed(ReadOnly(Date("ReminderTime"))),  // Start less the reminder's lead time
    Bool("ReminderOverrideDefault"), Bool("ReminderPlaySound"), Text("ReminderSoundFile"),
    ReadOnly(Bool("IsRecurring")),
    // OlRecurrenceType: daily 0, weekly 1, monthly 2, month-nth 3, yearly 5, year-nth 6
    InPattern(Int("RecurrenceType", 0, 6, 1)), InPattern(Int("Interval", 1, 999, 1)),
    InPattern(Int("DayOfWeekMask", 0, 127)),  // OlDaysOfWeek: Sunday 1 ... Saturday 64
    InPattern(Int("DayOfMonth", 0, 31)), InPattern(Int("Instance", 0, 5)),
    InPattern(Int("MonthOfYear", 0, 12)), InPattern(Date("PatternStartDate")),
    InPattern(Date("PatternEndDate")), InPattern(Bool("NoEndDate", true)),
};

inline constexpr PropDef kTask[] = {
    Text("Subject"), Text("Body"), Text("Categories"),
    Date("StartDate"), Date("DueDate"), Date("DateCompleted"),
    Computed(Bool("Complete")),  // Status is olTaskComplete
    Int("Status", 0, 4),  // OlTaskStatus: not started, in progress, complete, waiting, deferred
    Int("PercentComplete", 0, 100), Int("Importance", 0, 2, 1), Int("Sensitivity", 0, 3),
    Int("Ordinal"), Int("TotalWork", 0), Int("ActualWork", 0),
    Text("Mileage"), Text("CardData"), Text("Role"), Bool("TeamTask"),
    Bool("ReminderSet"), Date("ReminderTime"), Bool("ReminderOverrideDefault"),
    Bool("ReminderPlaySound"), Text("ReminderSoundFile"),
    ReadOnly(Bool("IsRecurring")),
    ReadOnly(Int("ResponseState", 0, 3)),  // OlTaskResponse: simple, assigned, accepted, declined
};

inline constexpr PropDef kNote[] = {
    Computed(ReadOnly(Text("Subject"))),  // the first line of Body
    Text("Body"),
    Text("Categories"),
    Int("Color", 0, 4, 3),  // OlNoteColor: blue, green, pink, yellow, white
};

consteval size_t IndexOf(std::span<const PropDef> props, std::string_view name) {
  for (size_t i = 0; i < props.size(); ++i)
    if (props[i].name == name) return i;
  throw "no such property";  // a compile-time error: consteval cannot throw
}

}  // namespace olstore::tables
