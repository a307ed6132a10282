#include "olstore/Seed.h"

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "olstore/Ids.h"
#include "olstore/Rules.h"

namespace olstore {

namespace {

using Words = std::span<const std::string_view>;

constexpr std::string_view kFirstNames[] = {
    "Anna",  "Jos\xC3\xA9",   "Zo\xC3\xAB",  "J\xC3\xBCrgen", "Bj\xC3\xB6rn", "Ren\xC3\xA9" "e",
    "\xC5\x81ukasz", "S\xC3\xB8ren", "No\xC3\xA9mie", "Fran\xC3\xA7ois", "Mei", "\xE4\xBC\x9F",
    "Aiko",  "Olumide", "Priya", "Ines", "Mateus", "H\xC3\xA9l\xC3\xA8ne", "Kai", "Fatima",
    "Yusuf", "Chlo\xC3\xA9", "Dmitri", "Ewa", "Grace", "Hiro", "Ingrid", "Jamal", "Karin", "Liam"};
constexpr std::string_view kLastNames[] = {
    "M\xC3\xBCller", "Gro\xC3\x9F", "Gon\xC3\xA7" "alves", "\xC3\x98ster", "O'Brien", "Smith",
    "Garc\xC3\xAD" "a", "Nguy\xE1\xBB\x85n", "Kowalski", "Sch\xC3\xA4" "fer", "\xE5\xBC\xA0",
    "\xE7\x8E\x8B", "Dubois", "Jensen", "Rossi", "Okafor", "Tanaka", "Haddad", "Fischer",
    "Lindqvist", "Nov\xC3\xA1k", "Papadopoulos", "Wei\xC3\x9F", "Ib\xC3\xA1\xC3\xB1" "ez"};
constexpr std::string_view kCompanies[] = {
    "Nordwind GmbH", "Caf\xC3\xA9 Lumi\xC3\xA8re", "Blue Harbor Ltd",
    "Kaizen \xE6\xA0\xAA\xE5\xBC\x8F\xE4\xBC\x9A\xE7\xA4\xBE", "Stra\xC3\x9F" "enbau AG",
    "Oakridge Partners", "Solaris S.A.", "Fjord Analytics", "Maple & Finch LLP"};
constexpr std::string_view kJobTitles[] = {
    "Account Manager", "Software Engineer", "Head of Sales", "Gesch\xC3\xA4" "ftsf\xC3\xBChrer",
    "Office Manager", "Chef de projet", "Data Analyst", "Buyer", "Architect", "Consultant"};
constexpr std::string_view kDepartments[] = {"Sales", "Engineering", "Finance", "Purchasing",
                                             "Marketing", "Support", "Legal", "Research"};
struct City {
  std::string_view city, state, postal, country;
};
constexpr City kCities[] = {
    {"Berlin", "BE", "10115", "Germany"},       {"M\xC3\xBCnchen", "BY", "80331", "Germany"},
    {"Z\xC3\xBCrich", "ZH", "8001", "Switzerland"}, {"Lyon", "ARA", "69001", "France"},
    {"Krak\xC3\xB3w", "MA", "30-001", "Poland"},  {"S\xC3\xA3o Paulo", "SP", "01000-000", "Brazil"},
    {"\xE5\x8C\x97\xE4\xBA\xAC", "BJ", "100000", "China"}, {"Seattle", "WA", "98101", "USA"},
    {"Toronto", "ON", "M5H 2N2", "Canada"},     {"Malm\xC3\xB6", "M", "211 19", "Sweden"}};
constexpr std::string_view kStreets[] = {
    "Hauptstra\xC3\x9F" "e", "Rue de la Paix", "Main Street", "ul. Floria\xC5\x84ska",
    "Avenida Paulista", "K\xC3\xB6nigsallee", "Elm Street", "Storgatan"};
constexpr std::string_view kCategories[] = {"Business", "Personal", "VIP", "Suppliers",
                                            "Family", "Holiday Cards", "Travel", "Ideas"};
constexpr std::string_view kMeetings[] = {
    "Team meeting", "Dentist", "Caf\xC3\xA9 with Zo\xC3\xAB", "Quarterly review \xF0\x9F\x93\x8A",
    "Jour fixe", "Abendessen bei M\xC3\xBCllers", "\xE4\xBC\x9A\xE8\xAE\xAE", "Yoga",
    "Budget planning", "Flight to Malm\xC3\xB6", "1:1 with manager", "Customer visit"};
constexpr std::string_view kPlaces[] = {"Room 4.12", "Caf\xC3\xA9 Central", "Online",
                                        "Head office", "Gym", "Terminal 2", ""};
constexpr std::string_view kTaskSubjects[] = {
    "Send invoice", "Renew passport", "Prepare slides", "Call the plumber",
    "Steuererkl\xC3\xA4rung", "Review contract", "Book hotel \xF0\x9F\x8F\xA8", "Order toner",
    "Update website", "Water the plants \xF0\x9F\x8C\xB1"};
constexpr std::string_view kNoteTitles[] = {
    "Groceries", "Wi-Fi password hint", "Ideas for the party \xF0\x9F\x8E\x89",
    "Einkaufsliste", "Gift ideas", "Book list", "\xE6\x97\x85\xE8\xA1\x8C plans", "Recipe: cr\xC3\xAApes"};
constexpr std::string_view kSentences[] = {
    "Met at the trade fair and talked about the new catalogue.",
    "Prefers calls in the morning; Zo\xC3\xAB is the deputy.",
    "Stra\xC3\x9F" "e und Hausnummer bitte noch einmal pr\xC3\xBC" "fen.",
    "\xE9\x87\x8D\xE8\xA6\x81\xE5\xAE\xA2\xE6\x88\xB7\xEF\xBC\x8C\xE8\xAF\xB7\xE5\x8F\x8A\xE6\x97\xB6\xE5\x9B\x9E\xE5\xA4\x8D\xE3\x80\x82",
    "Follow up after the holidays \xF0\x9F\x8E\x84 and send the brochure.",
    "The last order arrived late; offer a discount next time.",
    "Notes from the call: budget approved, start in spring.",
    "Ne pas oublier : r\xC3\xA9union le jeudi \xC3\xA0 10 h."};

struct FolderPlan {
  FolderKind kind;
  std::string_view first, firstChild, second, secondChild;
};
constexpr FolderPlan kFolderPlans[] = {
    {FolderKind::Contacts, "Clients", "Key Accounts", "Friends & Family", "Neighbours"},
    {FolderKind::Calendar, "Projects", "Launch 2025", "Private", "Sports"},
    {FolderKind::Tasks, "Work", "Backlog", "Home", "Garden"},
    {FolderKind::Notes, "Ideas", "Travel", "Recipes", "Baking"},
};

struct Member {
  std::string name, address;
};

class Seeder {
 public:
  Seeder(Store& store, const SeedOptions& options)
      : m_store(store), m_random(options.seed), m_today(options.today) {}

  bool Run(const SeedOptions& options, SeedCounts& counts, std::string& error) {
    Transaction tx(m_store.Db());
    if (!tx.Active()) return Fail(error);
    for (const FolderPlan& plan : kFolderPlans)
      if (!MakeFolders(plan)) return Fail(error);
    for (int64_t i = 0; i < options.contacts; ++i)
      if (!Contact(i)) return Fail(error);
    const int64_t lists = options.distLists >= 0 ? options.distLists
                          : options.contacts > 0 ? std::max<int64_t>(1, options.contacts / 50)
                                                 : 0;
    for (int64_t i = 0; i < lists; ++i)
      if (!DistList(i)) return Fail(error);
    for (int64_t i = 0; i < options.appointments; ++i)
      if (!Appointment(i)) return Fail(error);
    for (int64_t i = 0; i < options.tasks; ++i)
      if (!Task(i)) return Fail(error);
    for (int64_t i = 0; i < options.notes; ++i)
      if (!Note(i)) return Fail(error);
    if (!tx.Commit()) return Fail(error);
    counts = {options.contacts, lists, options.appointments, options.tasks, options.notes};
    return true;
  }

 private:
  bool Fail(std::string& error) {
    error = m_problem.empty() ? "cannot write to the store: " + m_store.ErrorMessage() : m_problem;
    return false;
  }

  // ---- chance -------------------------------------------------------------
  int64_t Pick(int64_t n) { return static_cast<int64_t>(m_random() % static_cast<uint64_t>(n)); }
  bool Chance(int percent) { return Pick(100) < percent; }
  std::string_view Any(Words words) { return words[static_cast<size_t>(Pick(static_cast<int64_t>(words.size())))]; }
  std::string Digits(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text.push_back(static_cast<char>('0' + Pick(10)));
    return text;
  }
  std::string Phone() { return "+" + std::to_string(30 + Pick(60)) + " " + Digits(3) + " " + Digits(7); }
  std::string CategoryList() {
    const int64_t count = Pick(3);
    std::string text;
    for (int64_t i = 0; i < count; ++i) {
      const std::string_view category = Any(kCategories);
      if (text.find(category) != std::string::npos) continue;
      text += (text.empty() ? "" : "; ") + std::string(category);
    }
    return text;
  }
  std::string Text(size_t minBytes) {
    std::string text;
    while (text.size() < minBytes) text += std::string(Any(kSentences)) + "\r\n";
    return text;
  }
  // A moment on a day relative to today, to the minute.
  double Day(int64_t offset, int64_t minuteOfDay = 0) {
    return LinearToOle(m_today + static_cast<double>(offset) + static_cast<double>(minuteOfDay) / 1440.0);
  }

  // ---- storing ------------------------------------------------------------
  bool MakeFolders(const FolderPlan& plan) {
    const std::optional<FolderRecord> root = m_store.DefaultFolder(plan.kind);
    if (!root) return false;
    std::vector<int64_t>& ids = m_folders[static_cast<size_t>(plan.kind)];
    ids = {root->id};
    for (auto [parent, child] : {std::pair{plan.first, plan.firstChild}, std::pair{plan.second, plan.secondChild}}) {
      const std::optional<FolderRecord> top = Folder(root->id, parent);
      const std::optional<FolderRecord> below = top ? Folder(top->id, child) : std::nullopt;
      if (!below) return false;
      ids.push_back(top->id);
      ids.push_back(below->id);
    }
    return true;
  }

  std::optional<FolderRecord> Folder(int64_t parent, std::string_view name) {
    std::optional<FolderRecord> folder = m_store.SubfolderByName(parent, name);
    return folder ? folder : m_store.CreateFolder(parent, name);
  }

  ItemData Start(ItemKind kind) {
    ItemData item = NewItem(kind);
    // Most items live in the default folder, the rest spread over the subfolders.
    const std::vector<int64_t>& folders = m_folders[static_cast<size_t>(item.Info().folder)];
    item.folderId = Chance(60) ? folders[0] : folders[1 + static_cast<size_t>(Pick(4))];
    const int64_t age = 1 + Pick(900);
    item.created = Day(-age, Pick(1440));
    item.modified = Day(-age + Pick(age), Pick(1440));
    if (OleToLinear(item.modified) < OleToLinear(item.created)) item.modified = item.created;
    return item;
  }

  void Set(ItemData& item, std::string_view name, Value value) {
    const KindInfo& info = item.Info();
    size_t index = FindProperty(info, name);
    if (index == kNoIndex) index = FindProperty(info, name, Scope::Pattern);
    if (index == kNoIndex || SetStoredValue(item, index, value) != PutStatus::Ok)
      m_problem = "demo data: cannot set " + std::string(name);
  }

  bool Insert(ItemData& item) {
    if (!m_problem.empty()) return false;
    if (const std::string problem = CheckItem(item); !problem.empty()) {
      m_problem = "demo data: " + problem;
      return false;
    }
    do item.entryId = NewEntryId(m_random);
    while (m_store.EntryIdExists(item.entryId));
    return m_store.InsertItem(item);
  }

  // ---- the kinds ----------------------------------------------------------
  // The first count characters of a UTF-8 text, never half of one.
  static std::string FirstCharacters(const std::string& text, size_t count) {
    size_t end = 0;
    for (; end < text.size(); ++end)
      if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && count-- == 0) break;
    return text.substr(0, end);
  }

  static std::string EmailName(std::string_view name) {
    static constexpr std::pair<std::string_view, std::string_view> kFolds[] = {
        {"\xC3\xA9", "e"}, {"\xC3\xA8", "e"}, {"\xC3\xAB", "e"}, {"\xC3\xBC", "ue"}, {"\xC3\xB6", "oe"},
        {"\xC3\xA4", "ae"}, {"\xC3\x9F", "ss"}, {"\xC5\x82", "l"}, {"\xC5\x81", "l"}, {"\xC3\xB8", "o"},
        {"\xC3\x98", "o"}, {"\xC3\xA7", "c"}, {"\xC3\xA1", "a"}, {"\xC3\xAD", "i"}, {"\xC3\xB1", "n"}};
    std::string out;
    for (size_t i = 0; i < name.size();) {
      const char ch = name[i];
      if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) {
        out.push_back(static_cast<char>(ch | 0x20));
        ++i;
        continue;
      }
      size_t used = 1;  // a character without a plain form is left out
      for (const auto& [from, to] : kFolds) {
        if (name.substr(i, from.size()) != from) continue;
        out += to;
        used = from.size();
        break;
      }
      i += used;
    }
    return out;
  }

  void Address(ItemData& item, std::string_view prefix) {
    const City& city = kCities[static_cast<size_t>(Pick(std::size(kCities)))];
    const std::string p(prefix);
    Set(item, p + "Street", std::string(Any(kStreets)) + " " + std::to_string(1 + Pick(200)));
    Set(item, p + "City", std::string(city.city));
    Set(item, p + "State", std::string(city.state));
    Set(item, p + "PostalCode", std::string(city.postal));
    Set(item, p + "Country", std::string(city.country));
    if (Chance(10)) Set(item, p + "PostOfficeBox", "PO " + Digits(4));
  }

  bool Contact(int64_t index) {
    ItemData item = Start(ItemKind::Contact);
    // First names go round, so that even a small store has every script in it.
    const std::string first(kFirstNames[static_cast<size_t>(index) % std::size(kFirstNames)]);
    const std::string last(Any(kLastNames));
    const std::string middle = Chance(20) ? std::string(Any(kFirstNames)) : std::string();
    const std::string full = first + " " + (middle.empty() ? "" : middle + " ") + last;
    const std::string company(Any(kCompanies));
    std::string local = EmailName(first) + "." + EmailName(last);
    if (local.size() < 3) local = "contact" + std::to_string(index);
    const std::string domain = EmailName(company.substr(0, company.find(' '))) + ".example";
    const std::string email = local + "@" + (domain.size() > 8 ? domain : "mail.example");

    Set(item, "FirstName", first);
    Set(item, "LastName", last);
    if (!middle.empty()) Set(item, "MiddleName", middle);
    Set(item, "FullName", full);
    Set(item, "Initials", FirstCharacters(first, 1) + ".");
    Set(item, "Gender", static_cast<int32_t>(Pick(3)));
    if (Chance(30)) Set(item, "Title", std::string(Any(std::array<std::string_view, 4>{"Dr.", "Mr.", "Ms.", "Prof."})));
    if (Chance(5)) Set(item, "Suffix", std::string(Any(std::array<std::string_view, 3>{"Jr.", "PhD", "III"})));
    if (Chance(20))
      Set(item, "NickName",
          Chance(50) ? FirstCharacters(first, 3) : first + " \xE2\x98\x80\xEF\xB8\x8F");
    if (Chance(60)) Set(item, "Birthday", Day(-365 * (20 + Pick(50)) - Pick(365)));
    if (Chance(15)) Set(item, "Anniversary", Day(-365 * (1 + Pick(30)) - Pick(365)));
    Set(item, "CompanyName", company);
    Set(item, "JobTitle", std::string(Any(kJobTitles)));
    Set(item, "Department", std::string(Any(kDepartments)));
    Set(item, "Account", "ACC-" + Digits(5));
    Set(item, "CustomerID", "C" + Digits(6));
    if (Chance(90)) {
      Set(item, "Email1Address", email);
      Set(item, "Email1AddressType", std::string("SMTP"));
      Set(item, "Email1DisplayName", full + " (" + email + ")");
    }
    if (Chance(30)) {
      Set(item, "Email2Address", local + "@home.example");
      Set(item, "Email2AddressType", std::string("SMTP"));
      Set(item, "Email2DisplayName", full + " (home)");
    }
    if (Chance(5)) {
      Set(item, "Email3Address", local + "@club.example");
      Set(item, "Email3AddressType", std::string("SMTP"));
      Set(item, "Email3DisplayName", full + " (club)");
    }
    if (Chance(80)) Address(item, "BusinessAddress");
    if (Chance(60)) Address(item, "HomeAddress");
    if (Chance(30)) Address(item, "MailingAddress");
    if (Chance(10)) Address(item, "OtherAddress");
    Set(item, "BusinessTelephoneNumber", Phone());
    for (auto [name, percent] : {std::pair{"MobileTelephoneNumber", 80}, {"HomeTelephoneNumber", 50},
                                 {"BusinessFaxNumber", 20}, {"CompanyMainTelephoneNumber", 30},
                                 {"Business2TelephoneNumber", 10}, {"CarTelephoneNumber", 10},
                                 {"CallbackTelephoneNumber", 5}, {"Home2TelephoneNumber", 5},
                                 {"HomeFaxNumber", 5}, {"OtherTelephoneNumber", 5},
                                 {"PrimaryTelephoneNumber", 20}, {"PagerNumber", 2},
                                 {"ISDNNumber", 2}, {"RadioTelephoneNumber", 1},
                                 {"AssistantTelephoneNumber", 20}})
      if (Chance(percent)) Set(item, name, Phone());
    if (Chance(20)) Set(item, "AssistantName", std::string(Any(kFirstNames)) + " " + std::string(Any(kLastNames)));
    if (Chance(30)) Set(item, "ManagerName", std::string(Any(kFirstNames)) + " " + std::string(Any(kLastNames)));
    if (Chance(30)) Set(item, "Spouse", std::string(Any(kFirstNames)));
    if (Chance(30)) Set(item, "Hobby", std::string(Any(std::array<std::string_view, 5>{"Sailing", "Chess", "Climbing", "Jazz \xF0\x9F\x8E\xB7", "Gardening"})));
    if (Chance(40)) Set(item, "Profession", std::string(Any(kJobTitles)));
    if (Chance(30)) Set(item, "Language", std::string(Any(std::array<std::string_view, 5>{"German", "French", "English", "Polish", "Chinese"})));
    if (Chance(20)) Set(item, "IMAddress", local + "@chat.example");
    if (Chance(10)) Set(item, "ComputerNetworkName", "WS-" + Digits(4));
    if (Chance(70)) Set(item, "BusinessHomePage", "https://www." + domain);
    if (Chance(10)) Set(item, "PersonalHomePage", "https://" + local + ".home.example");
    if (Chance(10)) Set(item, "WebPage", "https://" + local + ".web.example");
    if (Chance(3)) Set(item, "FTPSite", "ftp://ftp." + domain);
    // Every tenth contact has notes longer than the program's 2,047-byte body field.
    if (index % 10 == 3) Set(item, "Body", Text(2100 + static_cast<size_t>(Pick(2000))));
    else if (Chance(60)) Set(item, "Body", Text(40));
    Set(item, "Categories", CategoryList());
    if (!Insert(item)) return false;
    if (m_members.size() < 500 && item.values[FindProperty(item.Info(), "Email1Address")] != Value(std::string()))
      m_members.push_back({full, email});
    return true;
  }

  bool DistList(int64_t index) {
    ItemData item = Start(ItemKind::DistList);
    Set(item, "DLName", std::string(Any(std::array<std::string_view, 6>{"Project Team", "Book Club", "Board", "Choir", "Neighbours", "Support Rota"})) + " " + std::to_string(index + 1));
    std::string members = "[";
    const int64_t count = m_members.empty() ? 0 : 2 + Pick(7);
    for (int64_t i = 0; i < count; ++i) {
      const Member& member = m_members[static_cast<size_t>(Pick(static_cast<int64_t>(m_members.size())))];
      members += std::string(i ? "," : "") + "{\"Name\":\"" + Escape(member.name) + "\",\"Address\":\"" + Escape(member.address) + "\"}";
    }
    Set(item, "Members", members + "]");
    if (Chance(50)) Set(item, "Body", Text(30));
    Set(item, "Categories", CategoryList());
    return Insert(item);
  }

  static std::string Escape(const std::string& text) {
    std::string out;
    for (char ch : text) {
      if (ch == '"' || ch == '\\') out.push_back('\\');
      out.push_back(ch);
    }
    return out;
  }

  bool Appointment(int64_t index) {
    ItemData item = Start(ItemKind::Appointment);
    const bool allDay = Chance(10);
    const int64_t day = Pick(180) - 60;
    const double start = allDay ? Day(day) : Day(day, 8 * 60 + 15 * Pick(40));
    const int64_t minutes = allDay ? 1440 * (1 + Pick(3)) : 15 * (1 + Pick(16));
    Set(item, "Subject", std::string(Any(kMeetings)));
    Set(item, "Location", std::string(Any(kPlaces)));
    Set(item, "Start", start);
    Set(item, "End", LinearToOle(OleToLinear(start) + static_cast<double>(minutes) / 1440.0));
    Set(item, "AllDayEvent", allDay);
    Set(item, "BusyStatus", static_cast<int32_t>(allDay ? 3 : Pick(4)));
    Set(item, "Importance", static_cast<int32_t>(Chance(80) ? 1 : Pick(3)));
    Set(item, "Sensitivity", static_cast<int32_t>(Chance(80) ? 0 : Pick(4)));
    Set(item, "ReminderSet", Chance(60));
    Set(item, "ReminderMinutesBeforeStart", static_cast<int32_t>(std::array{0, 5, 10, 15, 30, 60, 1440}[static_cast<size_t>(Pick(7))]));
    if (Chance(10)) {
      Set(item, "ReminderOverrideDefault", true);
      Set(item, "ReminderPlaySound", true);
      Set(item, "ReminderSoundFile", std::string("reminder.wav"));
    }
    if (index % 12 == 5) Set(item, "Body", Text(2100 + static_cast<size_t>(Pick(3000))));
    else if (Chance(50)) Set(item, "Body", Text(60));
    Set(item, "Categories", CategoryList());
    // Every fourth appointment repeats, going through every recurrence type.
    if (index % 4 == 1) {
      static constexpr int32_t kTypes[] = {0, 1, 2, 3, 5, 6};
      const int32_t type = kTypes[static_cast<size_t>(index / 4) % std::size(kTypes)];
      Set(item, "IsRecurring", true);
      Set(item, "PatternStartDate", static_cast<double>(OleDay(start)));
      ResetPatternFor(item, type);
      if (type != 5) Set(item, "Interval", static_cast<int32_t>(1 + Pick(3)));
      if (Chance(50)) {
        Set(item, "NoEndDate", false);
        Set(item, "PatternEndDate", static_cast<double>(OleDay(start) + 30 + Pick(700)));
      }
    }
    return Insert(item);
  }

  bool Task(int64_t index) {
    ItemData item = Start(ItemKind::Task);
    static constexpr int32_t kStatuses[] = {0, 0, 1, 1, 1, 2, 2, 3, 4};
    const int32_t status = kStatuses[static_cast<size_t>(Pick(std::size(kStatuses)))];
    const int64_t startDay = Pick(60) - 30;
    const int64_t dueDay = startDay + 1 + Pick(30);
    Set(item, "Subject", std::string(Any(kTaskSubjects)));
    if (Chance(70)) Set(item, "StartDate", Day(startDay));
    if (Chance(80)) Set(item, "DueDate", Day(dueDay));
    Set(item, "Status", status);
    Set(item, "PercentComplete", static_cast<int32_t>(status == 2 ? 100 : status == 0 ? 0 : 10 * (1 + Pick(9))));
    if (status == 2) Set(item, "DateCompleted", Day(startDay + Pick(20)));
    Set(item, "Importance", static_cast<int32_t>(Pick(3)));
    Set(item, "Sensitivity", static_cast<int32_t>(Chance(85) ? 0 : Pick(4)));
    Set(item, "Ordinal", static_cast<int32_t>(index));
    Set(item, "TotalWork", static_cast<int32_t>(60 * Pick(40)));
    Set(item, "ActualWork", static_cast<int32_t>(30 * Pick(40)));
    if (Chance(5)) Set(item, "Mileage", std::to_string(Pick(500)) + " km");
    if (Chance(3)) Set(item, "CardData", std::string("Card ") + Digits(4));
    if (Chance(10)) Set(item, "Role", std::string(Chance(50) ? "Owner" : "Reviewer"));
    Set(item, "TeamTask", Chance(10));
    if (Chance(30)) {
      Set(item, "ReminderSet", true);
      Set(item, "ReminderTime", Day(dueDay, 9 * 60));
      Set(item, "ReminderPlaySound", Chance(50));
    }
    // Some bodies are longer than the program's 20,479-byte body field.
    if (index % 15 == 7) Set(item, "Body", Text(20600 + static_cast<size_t>(Pick(5000))));
    else if (Chance(50)) Set(item, "Body", Text(50));
    Set(item, "Categories", CategoryList());
    return Insert(item);
  }

  bool Note(int64_t index) {
    ItemData item = Start(ItemKind::Note);
    const std::string title(Any(kNoteTitles));
    Set(item, "Body", title + "\r\n" + Text(index % 10 == 4 ? 20600 + static_cast<size_t>(Pick(5000)) : 20 + static_cast<size_t>(Pick(200))));
    Set(item, "Color", static_cast<int32_t>(Pick(5)));
    Set(item, "Categories", CategoryList());
    return Insert(item);
  }

  Store& m_store;
  std::mt19937_64 m_random;
  double m_today;
  std::array<std::vector<int64_t>, 5> m_folders;  // per folder kind: default folder, then four subfolders
  std::vector<Member> m_members;
  std::string m_problem;
};

}  // namespace

bool SeedStore(Store& store, const SeedOptions& options, SeedCounts& counts, std::string& error) {
  SeedOptions effective = options;
  if (effective.today == 0) effective.today = static_cast<double>(OleDay(OleNow()));
  return Seeder(store, effective).Run(effective, counts, error);
}

}  // namespace olstore
