// The batch tool, run as a user runs it, over a real store: every command, its
// help, its exit statuses, and that bad input changes nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "common/outlook/support/StoreOutlookTest.h"
#include "olstore/Exchange.h"
#include "olstore/support/Program.h"
#include "support/DamagedStore.h"

namespace {

using olstore::FolderKind;
using olstore::ItemKind;

struct Outcome {
  int nExit = -1;
  std::string strOut;
  std::string strErr;
};

class BatchTest : public StoreOutlookTest {
 protected:
  void SetUp() override {
    StoreOutlookTest::SetUp();
    m_home.Set("XDG_DATA_HOME", m_env.Temp().Folder());
    const int64_t nContacts = Folder(FolderKind::Contacts);
    const int64_t nClients = Folder(FolderKind::Contacts, {"Clients"});
    Seed([&] {
      Add(ItemKind::Contact, nContacts,
          {{"FirstName", std::string("Ann")},
           {"LastName", std::string("Archer")},
           {"JobTitle", std::string("Clerk")},
           {"CompanyName", std::string("Acme Ltd")}});
      Add(ItemKind::Contact, nContacts,
          {{"FirstName", std::string("Ben")},
           {"LastName", std::string("Baker")},
           {"JobTitle", std::string("Cook")},
           {"CompanyName", std::string("Bakery")}});
      Add(ItemKind::Contact, nClients,
          {{"FirstName", std::string("Cleo")},
           {"LastName", std::string("Cole")},
           {"JobTitle", std::string("Chief")},
           {"CompanyName", std::string("ACME Inc")}});
    });
  }

  // Runs the tool; its input is empty (not a terminal).
  Outcome Batch(const std::vector<std::string>& args) {
    const olstore::test::ProgramFiles files{
        m_env.Temp().File("in.txt"), m_env.Temp().File("out.txt"), m_env.Temp().File("err.txt")};
    std::ofstream(files.in).flush();
    Outcome outcome;
    outcome.nExit =
        olstore::test::RunProgram(olstore::test::BuiltProgram(QM_BATCH_PATH), args, files);
    outcome.strOut = ReadText(files.out);
    outcome.strErr = ReadText(files.err);
    return outcome;
  }

  static std::string ReadText(const std::string& strPath) {
    std::ifstream in(strPath);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  nlohmann::json Export(bool bWithoutModification = false) {
    std::ostringstream out;
    std::string strError;
    EXPECT_TRUE(olstore::ExportJson(Store(), out, strError)) << strError;
    nlohmann::json document = nlohmann::json::parse(out.str());
    if (bWithoutModification) Strip(document);
    return document;
  }

  static void Strip(nlohmann::json& document) {
    if (document.is_object()) {
      document.erase("LastModificationTime");
      for (auto& [strKey, value] : document.items()) Strip(value);
    } else if (document.is_array()) {
      for (auto& value : document) Strip(value);
    }
  }

  std::vector<std::string> JobTitles() {
    std::vector<std::string> titles;
    const nlohmann::json document = Export();
    for (const auto& item : document["contacts"]["items"])
      titles.push_back(item.value("JobTitle", ""));
    for (const auto& item : document["contacts"]["folders"][0]["items"])
      titles.push_back(item.value("JobTitle", ""));
    return titles;
  }

  ScopedEnvironment m_home;
};

struct UsageCase {
  const char* szName;
  std::vector<std::string> Args;
  const char* szMessage;  // a part of the one line on standard error
};

void PrintTo(const UsageCase& usageCase, std::ostream* pOut) { *pOut << usageCase.szName; }

const UsageCase kUsageCases[] = {
    {"NoCommand", {}, "a command is missing"},
    {"UnknownCommand", {"go"}, "\"go\" is not a command"},
    {"UnknownOption",
     {"run", "--kind", "contacts", "--set", "Job Title", "x", "--fast"},
     "no option --fast"},
    {"MissingValue", {"run", "--kind", "contacts", "--set", "Job Title"}, "--set needs 2 values"},
    {"NoKind", {"run", "--set", "Job Title", "x"}, "run needs --kind"},
    {"NoDefinition", {"run", "--kind", "contacts"}, "run needs at least one definition"},
    {"UnknownKind",
     {"run", "--kind", "people", "--set", "Job Title", "x"},
     "\"people\" is not a kind"},
    {"UnknownField",
     {"run", "--kind", "contacts", "--set", "Job Titel", "x"},
     "\"Job Titel\" is not a field of contacts"},
    {"BadDate",
     {"run", "--kind", "contacts", "--set", "Birthday", "15.03.1990"},
     "is not a date (YYYY-MM-DD)"},
    {"BadChoice",
     {"run", "--kind", "contacts", "--set", "Gender", "Maybe"},
     "\"Maybe\" is not one of"},
    {"AppendToADate",
     {"run", "--kind", "contacts", "--append", "Birthday", "x"},
     "only takes --set"},
    {"EmptyAppend",
     {"run", "--kind", "contacts", "--append", "Job Title", ""},
     "the text to append is empty"},
    {"BadPosition",
     {"run", "--kind", "contacts", "--insert", "Job Title", "-1", "x"},
     "character position"},
    {"BadCondition",
     {"run", "--kind", "contacts", "--set", "Job Title", "x", "--where", "Job Title", "is", "x"},
     "\"is\" is not contains"},
    {"UnknownWhereField",
     {"run", "--kind", "contacts", "--set", "Job Title", "x", "--where", "Title", "empty"},
     "--where: \"Title\" is not a field"},
    {"MissingProfile",
     {"run", "--kind", "contacts", "--profile", "/no/such/profile.ini"},
     "there is no such file"},
    {"NoConfirmation",
     {"run", "--kind", "contacts", "--set", "Job Title", "x"},
     "writing needs --yes"},
    {"UndoWithoutRuns", {"undo"}, "the journal holds no run"},
    {"UndoUnknownRun", {"undo", "7"}, "the journal holds no run 7"},
    {"UndoHugeRun", {"undo", "99999999999999999999"}, "undo takes a run's number or last"},
    {"FieldsWithoutKind", {"fields"}, "fields needs --kind"},
};

class BatchUsageTest : public BatchTest, public testing::WithParamInterface<UsageCase> {};

TEST_P(BatchUsageTest, WrongUseIsRefusedWithOneLineAndChangesNothing) {
  const nlohmann::json before = Export();
  const Outcome outcome = Batch(GetParam().Args);
  EXPECT_EQ(2, outcome.nExit);
  EXPECT_NE(std::string::npos, outcome.strErr.find(GetParam().szMessage)) << outcome.strErr;
  EXPECT_EQ(1, std::count(outcome.strErr.begin(), outcome.strErr.end(), '\n')) << outcome.strErr;
  EXPECT_EQ(before.dump(), Export().dump());
}

INSTANTIATE_TEST_SUITE_P(Cases, BatchUsageTest, testing::ValuesIn(kUsageCases),
                         [](const testing::TestParamInfo<UsageCase>& info) {
                           return std::string(info.param.szName);
                         });

TEST_F(BatchTest, EveryCommandHasItsHelp) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"--help"},
                                             {"run", "--help"},
                                             {"undo", "--help"},
                                             {"runs", "--help"},
                                             {"fields", "--help"}}) {
    const Outcome outcome = Batch(args);
    EXPECT_EQ(0, outcome.nExit) << args[0];
    EXPECT_EQ(0u, outcome.strOut.rfind("Usage: quillmere-batch", 0)) << outcome.strOut;
  }
}

TEST_F(BatchTest, FieldsListsTypesAndChoices) {
  const Outcome outcome = Batch({"fields", "--kind", "notes"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_NE(std::string::npos, outcome.strOut.find("Color")) << outcome.strOut;
  EXPECT_NE(std::string::npos, outcome.strOut.find("Blue, Green, Pink, White, Yellow"))
      << outcome.strOut;
}

// A dry run shows every change of the matching items and writes nothing.
TEST_F(BatchTest, DryRunShowsTheChangesAndWritesNothing) {
  const nlohmann::json before = Export();
  const Outcome outcome =
      Batch({"run", "--kind", "contacts", "--subfolders", "--set", "Job Title", "Director",
             "--where", "Company Name", "contains", "acme", "--dry-run"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_EQ(
      "Ann Archer (Contacts): Job Title: \"Clerk\" -> \"Director\": will change\n"
      "Cleo Cole (Clients): Job Title: \"Chief\" -> \"Director\": will change\n"
      "2 items will change, 2 fields; 0 unchanged; 0 refused\n",
      outcome.strOut);
  EXPECT_EQ(before.dump(), Export().dump());
}

// A run changes exactly the matching items, journals and reports them; undo
// brings the store back.
TEST_F(BatchTest, RunThenUndoLastRestoresTheStore) {
  const nlohmann::json before = Export(true);
  const std::string strProfile = m_env.Temp().File("title.ini");
  std::ofstream(strProfile)
      << "[Profile]\nKind=contacts\nDefinitions=1\n[Definition 1]\nField=Job Title\n"
         "FieldID=46\nOperation=Append\nText=\" (Acme)\"\n";
  const std::string strReport = m_env.Temp().File("report.csv");
  Outcome outcome = Batch({"run", "--kind", "contacts", "--subfolders", "--set", "Job Title",
                           "Manager", "--profile", strProfile, "--where", "Company Name",
                           "starts-with", "acme", "--report", strReport, "--yes"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_EQ("2 updated\n", outcome.strOut);
  EXPECT_EQ((std::vector<std::string>{"Manager (Acme)", "Cook", "Manager (Acme)"}), JobTitles());
  EXPECT_NE(std::string::npos,
            ReadText(strReport).find("Ann Archer,Contacts,Job Title,Clerk,Manager,changed"));

  outcome = Batch({"runs"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_NE(std::string::npos, outcome.strOut.find("\n1     "));
  EXPECT_NE(std::string::npos, outcome.strOut.find("contacts           2  Job Title: Set value to "
                                                   "\"Manager\"; Job Title: Append \" (Acme)\" to "
                                                   "the field.\n"))
      << outcome.strOut;

  const nlohmann::json after = Export();
  outcome = Batch({"undo", "last", "--dry-run"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_NE(std::string::npos, outcome.strOut.find("2 items will change")) << outcome.strOut;
  EXPECT_EQ(after.dump(), Export().dump());

  outcome = Batch({"undo", "last", "--yes"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_EQ("2 restored\n", outcome.strOut);
  EXPECT_EQ(before.dump(2), Export(true).dump(2));
}

// An item the run cannot save makes the exit status 1 and is named.
TEST_F(BatchTest, AnItemNotSavedIsNamedAndFailsTheRun) {
  // Longer than the image's 32 bytes: appending to a cut text would shorten it.
  Seed([&] {
    Add(ItemKind::Contact, Folder(FolderKind::Contacts),
        {{"FirstName", std::string("Dee")}, {"JobTitle", std::string(40, 'j')}});
  });
  const Outcome outcome =
      Batch({"run", "--kind", "contacts", "--append", "Job Title", " II", "--yes"});
  EXPECT_EQ(1, outcome.nExit) << outcome.strErr;
  EXPECT_NE(std::string::npos, outcome.strOut.find("not saved: Dee: no field could be changed"))
      << outcome.strOut;
  EXPECT_NE(std::string::npos, outcome.strOut.find("2 updated, 1 not saved")) << outcome.strOut;
}

// A distribution list among the contacts has no job title: it is skipped and
// named as a list, and the run still succeeds.
TEST_F(BatchTest, DistributionListIsSkippedNotFailed) {
  Seed([&] {
    Add(ItemKind::DistList, Folder(FolderKind::Contacts), {{"DLName", std::string("Team")}});
  });
  Outcome outcome =
      Batch({"run", "--kind", "contacts", "--set", "Job Title", "Director", "--dry-run"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_NE(std::string::npos,
            outcome.strOut.find("Team (distribution list) (Contacts): Job Title: \"\" -> \"\": "
                                "skipped: a distribution list has no such field"))
      << outcome.strOut;
  outcome = Batch({"run", "--kind", "contacts", "--set", "Job Title", "Director", "--yes"});
  EXPECT_EQ(0, outcome.nExit) << outcome.strErr;
  EXPECT_EQ("2 updated, 1 skipped\n", outcome.strOut);
}

// A store that cannot be read to the end changes nothing: the tool says how
// many items could be read and why, and fails.
TEST_F(BatchTest, AStoreDamagedMidwayChangesNothingAndSaysWhy) {
  const int64_t nContacts = Folder(FolderKind::Contacts);
  Seed([&] {
    for (int i = 0; i < 300; ++i)
      Add(ItemKind::Contact, nContacts,
          {{"LastName", "Filler " + std::to_string(i)}, {"JobTitle", std::string("Clerk")}});
  });
  CloseStore();
  ASSERT_TRUE(damage::DamageMiddleOf(StorePath(), "items"));
  const std::string strUntouched = damage::FileAndLog(StorePath());

  const Outcome outcome =
      Batch({"run", "--kind", "contacts", "--set", "Job Title", "Director", "--yes"});
  EXPECT_EQ(1, outcome.nExit);
  EXPECT_THAT(outcome.strErr,
              testing::MatchesRegex("quillmere-batch: Only [1-9][0-9]* items could be read: the "
                                    "store is damaged \\(database disk image is malformed\\); "
                                    "nothing was changed\n"));
  EXPECT_EQ("", outcome.strOut);
  EXPECT_EQ(damage::FileAndLog(StorePath()), strUntouched);
}

}  // namespace
