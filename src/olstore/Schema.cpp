#include "olstore/Schema.h"

namespace olstore {

namespace {

// Version 1. Items of every kind share one row in `items` (its folder, class,
// entry ID and times, and the insertion order that collections walk); the
// properties live in one table per kind, a column per property, named as the
// property is. A date column is NULL when the date is not set.
constexpr std::string_view kVersion1 = R"sql(
CREATE TABLE store_info (
  key TEXT PRIMARY KEY,
  value TEXT NOT NULL
) WITHOUT ROWID;
CREATE TABLE folders (
  id INTEGER PRIMARY KEY,
  parent_id INTEGER REFERENCES folders(id),
  entry_id TEXT NOT NULL UNIQUE,
  name TEXT NOT NULL COLLATE NOCASE,
  kind INTEGER NOT NULL,
  is_default INTEGER NOT NULL DEFAULT 0,
  UNIQUE (parent_id, name)
);
CREATE TABLE items (
  id INTEGER PRIMARY KEY,
  folder_id INTEGER NOT NULL REFERENCES folders(id),
  class INTEGER NOT NULL,
  entry_id TEXT NOT NULL UNIQUE,
  created REAL NOT NULL,
  modified REAL NOT NULL
);
CREATE INDEX items_by_folder ON items(folder_id, id);
CREATE TABLE contacts (
  item_id INTEGER PRIMARY KEY REFERENCES items(id) ON DELETE CASCADE,
  "Account" TEXT NOT NULL DEFAULT '',
  "Anniversary" REAL,
  "AssistantName" TEXT NOT NULL DEFAULT '',
  "AssistantTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "Birthday" REAL,
  "Business2TelephoneNumber" TEXT NOT NULL DEFAULT '',
  "BusinessAddressCity" TEXT NOT NULL DEFAULT '',
  "BusinessAddressCountry" TEXT NOT NULL DEFAULT '',
  "BusinessAddressPostalCode" TEXT NOT NULL DEFAULT '',
  "BusinessAddressPostOfficeBox" TEXT NOT NULL DEFAULT '',
  "BusinessAddressState" TEXT NOT NULL DEFAULT '',
  "BusinessAddressStreet" TEXT NOT NULL DEFAULT '',
  "BusinessFaxNumber" TEXT NOT NULL DEFAULT '',
  "BusinessHomePage" TEXT NOT NULL DEFAULT '',
  "BusinessTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "CallbackTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "CarTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "CompanyMainTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "CompanyName" TEXT NOT NULL DEFAULT '',
  "ComputerNetworkName" TEXT NOT NULL DEFAULT '',
  "CustomerID" TEXT NOT NULL DEFAULT '',
  "Department" TEXT NOT NULL DEFAULT '',
  "Email1Address" TEXT NOT NULL DEFAULT '',
  "Email1AddressType" TEXT NOT NULL DEFAULT '',
  "Email1DisplayName" TEXT NOT NULL DEFAULT '',
  "Email2Address" TEXT NOT NULL DEFAULT '',
  "Email2AddressType" TEXT NOT NULL DEFAULT '',
  "Email2DisplayName" TEXT NOT NULL DEFAULT '',
  "Email3Address" TEXT NOT NULL DEFAULT '',
  "Email3AddressType" TEXT NOT NULL DEFAULT '',
  "Email3DisplayName" TEXT NOT NULL DEFAULT '',
  "FirstName" TEXT NOT NULL DEFAULT '',
  "FTPSite" TEXT NOT NULL DEFAULT '',
  "FullName" TEXT NOT NULL DEFAULT '',
  "Gender" INTEGER NOT NULL DEFAULT 0,
  "Hobby" TEXT NOT NULL DEFAULT '',
  "Home2TelephoneNumber" TEXT NOT NULL DEFAULT '',
  "HomeAddressCity" TEXT NOT NULL DEFAULT '',
  "HomeAddressCountry" TEXT NOT NULL DEFAULT '',
  "HomeAddressPostalCode" TEXT NOT NULL DEFAULT '',
  "HomeAddressPostOfficeBox" TEXT NOT NULL DEFAULT '',
  "HomeAddressState" TEXT NOT NULL DEFAULT '',
  "HomeAddressStreet" TEXT NOT NULL DEFAULT '',
  "HomeFaxNumber" TEXT NOT NULL DEFAULT '',
  "HomeTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "IMAddress" TEXT NOT NULL DEFAULT '',
  "Initials" TEXT NOT NULL DEFAULT '',
  "ISDNNumber" TEXT NOT NULL DEFAULT '',
  "JobTitle" TEXT NOT NULL DEFAULT '',
  "Language" TEXT NOT NULL DEFAULT '',
  "LastName" TEXT NOT NULL DEFAULT '',
  "MailingAddressCity" TEXT NOT NULL DEFAULT '',
  "MailingAddressCountry" TEXT NOT NULL DEFAULT '',
  "MailingAddressPostalCode" TEXT NOT NULL DEFAULT '',
  "MailingAddressPostOfficeBox" TEXT NOT NULL DEFAULT '',
  "MailingAddressState" TEXT NOT NULL DEFAULT '',
  "MailingAddressStreet" TEXT NOT NULL DEFAULT '',
  "ManagerName" TEXT NOT NULL DEFAULT '',
  "MiddleName" TEXT NOT NULL DEFAULT '',
  "MobileTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "NickName" TEXT NOT NULL DEFAULT '',
  "OtherAddressCity" TEXT NOT NULL DEFAULT '',
  "OtherAddressCountry" TEXT NOT NULL DEFAULT '',
  "OtherAddressPostalCode" TEXT NOT NULL DEFAULT '',
  "OtherAddressPostOfficeBox" TEXT NOT NULL DEFAULT '',
  "OtherAddressState" TEXT NOT NULL DEFAULT '',
  "OtherAddressStreet" TEXT NOT NULL DEFAULT '',
  "OtherTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "PagerNumber" TEXT NOT NULL DEFAULT '',
  "PersonalHomePage" TEXT NOT NULL DEFAULT '',
  "PrimaryTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "Profession" TEXT NOT NULL DEFAULT '',
  "RadioTelephoneNumber" TEXT NOT NULL DEFAULT '',
  "Spouse" TEXT NOT NULL DEFAULT '',
  "Suffix" TEXT NOT NULL DEFAULT '',
  "Title" TEXT NOT NULL DEFAULT '',
  "WebPage" TEXT NOT NULL DEFAULT '',
  "Body" TEXT NOT NULL DEFAULT '',
  "Categories" TEXT NOT NULL DEFAULT ''
);
CREATE TABLE dist_lists (
  item_id INTEGER PRIMARY KEY REFERENCES items(id) ON DELETE CASCADE,
  "DLName" TEXT NOT NULL DEFAULT '',
  "Body" TEXT NOT NULL DEFAULT '',
  "Categories" TEXT NOT NULL DEFAULT '',
  "Members" TEXT NOT NULL DEFAULT '[]'
);
CREATE TABLE appointments (
  item_id INTEGER PRIMARY KEY REFERENCES items(id) ON DELETE CASCADE,
  "Subject" TEXT NOT NULL DEFAULT '',
  "Location" TEXT NOT NULL DEFAULT '',
  "Body" TEXT NOT NULL DEFAULT '',
  "Categories" TEXT NOT NULL DEFAULT '',
  "Start" REAL,
  "End" REAL,
  "AllDayEvent" INTEGER NOT NULL DEFAULT 0,
  "BusyStatus" INTEGER NOT NULL DEFAULT 2,
  "Importance" INTEGER NOT NULL DEFAULT 1,
  "Sensitivity" INTEGER NOT NULL DEFAULT 0,
  "ReminderSet" INTEGER NOT NULL DEFAULT 1,
  "ReminderMinutesBeforeStart" INTEGER NOT NULL DEFAULT 15,
  "ReminderOverrideDefault" INTEGER NOT NULL DEFAULT 0,
  "ReminderPlaySound" INTEGER NOT NULL DEFAULT 0,
  "ReminderSoundFile" TEXT NOT NULL DEFAULT '',
  "IsRecurring" INTEGER NOT NULL DEFAULT 0,
  "RecurrenceType" INTEGER NOT NULL DEFAULT 1,
  "Interval" INTEGER NOT NULL DEFAULT 1,
  "DayOfWeekMask" INTEGER NOT NULL DEFAULT 0,
  "DayOfMonth" INTEGER NOT NULL DEFAULT 0,
  "Instance" INTEGER NOT NULL DEFAULT 0,
  "MonthOfYear" INTEGER NOT NULL DEFAULT 0,
  "PatternStartDate" REAL,
  "PatternEndDate" REAL,
  "NoEndDate" INTEGER NOT NULL DEFAULT 1
);
CREATE TABLE tasks (
  item_id INTEGER PRIMARY KEY REFERENCES items(id) ON DELETE CASCADE,
  "Subject" TEXT NOT NULL DEFAULT '',
  "Body" TEXT NOT NULL DEFAULT '',
  "Categories" TEXT NOT NULL DEFAULT '',
  "StartDate" REAL,
  "DueDate" REAL,
  "DateCompleted" REAL,
  "Status" INTEGER NOT NULL DEFAULT 0,
  "PercentComplete" INTEGER NOT NULL DEFAULT 0,
  "Importance" INTEGER NOT NULL DEFAULT 1,
  "Sensitivity" INTEGER NOT NULL DEFAULT 0,
  "Ordinal" INTEGER NOT NULL DEFAULT 0,
  "TotalWork" INTEGER NOT NULL DEFAULT 0,
  "ActualWork" INTEGER NOT NULL DEFAULT 0,
  "Mileage" TEXT NOT NULL DEFAULT '',
  "CardData" TEXT NOT NULL DEFAULT '',
  "Role" TEXT NOT NULL DEFAULT '',
  "TeamTask" INTEGER NOT NULL DEFAULT 0,
  "ReminderSet" INTEGER NOT NULL DEFAULT 0,
  "ReminderTime" REAL,
  "ReminderOverrideDefault" INTEGER NOT NULL DEFAULT 0,
  "ReminderPlaySound" INTEGER NOT NULL DEFAULT 0,
  "ReminderSoundFile" TEXT NOT NULL DEFAULT '',
  "IsRecurring" INTEGER NOT NULL DEFAULT 0,
  "ResponseState" INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE notes (
  item_id INTEGER PRIMARY KEY REFERENCES items(id) ON DELETE CASCADE,
  "Body" TEXT NOT NULL DEFAULT '',
  "Categories" TEXT NOT NULL DEFAULT '',
  "Color" INTEGER NOT NULL DEFAULT 3
);
)sql";

constexpr Migration kMigrations[] = {
    {1, kVersion1},
};

}  // namespace

std::span<const Migration> Migrations() { return kMigrations; }

int CurrentSchemaVersion() { return kMigrations[std::size(kMigrations) - 1].version; }

}  // namespace olstore
