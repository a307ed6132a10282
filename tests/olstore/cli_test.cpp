// The olstore command line tool, run as a user runs it.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "olstore/Text.h"
#include "olstore/support/Program.h"
#include "olstore/support/StoreFixture.h"
#include "support/DamagedStore.h"

namespace olstore::test {
namespace {

struct Outcome {
  int code = -1;
  std::string out, err;
};

class OlstoreCli : public ::testing::Test {
 protected:
  // Runs the tool with args, its input read from stdinFile (empty: none);
  // OLSTORE_PATH is set to olstorePath, or removed when empty.
  Outcome Olstore(const std::vector<std::string>& args, const std::string& stdinFile = "",
                  const std::string& olstorePath = "") {
    const ProgramFiles files{stdinFile, m_dir.File("stdout.txt"), m_dir.File("stderr.txt")};
    ScopedEnvironment env;
    env.Set("OLSTORE_PATH", olstorePath.empty() ? nullptr : olstorePath.c_str());
    const int code = RunProgram(BuiltProgram(OLSTORE_CLI_PATH), args, files);
    return {code, ReadOutput(files.out), ReadOutput(files.err)};
  }

  // Read as text, as a console shows it: Windows' line ends come back as '\n'.
  static std::string ReadOutput(const std::string& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // Runs and expects success.
  std::string Ok(const std::vector<std::string>& args) {
    Outcome run = Olstore(args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return run.out;
  }

  std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  bool Exists(const std::string& path) { return std::filesystem::exists(path); }

  TempFolder m_dir;
  std::string m_store = m_dir.File("store.db");
};

TEST_F(OlstoreCli, InitCreatesOnceAndTellsWhere) {
  const std::string first = Ok({"--store", m_store, "init"});
  EXPECT_EQ(first.rfind("Created the store " + m_store + "\nStore ID: ", 0), 0u) << first;
  const std::string second = Ok({"--store=" + m_store, "init"});
  EXPECT_EQ(second.rfind("Using the store " + m_store, 0), 0u) << second;
  EXPECT_EQ(Lines(first)[1], Lines(second)[1]);  // the same store ID
}

TEST_F(OlstoreCli, SeedListShowAndStatsDescribeTheSameItems) {
  Ok({"--store", m_store, "seed", "--contacts", "12", "--distlists", "2", "--appointments", "7",
      "--tasks", "5", "--notes", "4", "--seed", "9", "--date", "2024-03-14"});
  const std::string stats = Ok({"--store", m_store, "stats"});
  EXPECT_NE(stats.find("Total: 12 contacts, 2 distribution lists, 7 appointments, 5 tasks, 4 notes"),
            std::string::npos)
      << stats;
  EXPECT_NE(stats.find("Contacts/Clients/Key Accounts"), std::string::npos);

  struct Kind {
    const char* name;
    size_t count;
    const char* type;
  } kinds[] = {{"contacts", 14, nullptr}, {"calendar", 7, "Appointment"}, {"tasks", 5, "Task"},
               {"notes", 4, "Note"}};
  for (const Kind& kind : kinds) {
    const std::vector<std::string> lines = Lines(Ok({"--store", m_store, "list", kind.name}));
    EXPECT_EQ(lines.size(), kind.count) << kind.name;
    for (const std::string& line : lines) {
      const size_t tab = line.find('\t');
      ASSERT_NE(tab, std::string::npos) << line;
      EXPECT_NE(line.find('\t', tab + 1), std::string::npos) << line;
      const std::string folder = line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1);
      const std::string shown = Ok({"--store", m_store, "show", line.substr(0, tab)});
      EXPECT_EQ(shown.rfind("EntryID: " + line.substr(0, tab) + "\n", 0), 0u);
      EXPECT_NE(shown.find("\nFolder: " + folder + "\n"), std::string::npos) << shown;
      if (kind.type) {
        EXPECT_NE(shown.find(std::string("\nType: ") + kind.type + "\n"), std::string::npos);
      }
    }
  }
}

// Cutting a name to a few characters must not split one: the store would
// then hold invalid UTF-8. Enough contacts that every first name comes round.
TEST_F(OlstoreCli, SeedWritesOnlyWholeCharacters) {
  Ok({"--store", m_store, "seed", "--contacts", "400", "--distlists", "3", "--appointments", "40",
      "--tasks", "40", "--notes", "40"});
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(m_store.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  size_t texts = 0;
  for (const char* table : {"contacts", "dist_lists", "appointments", "tasks", "notes"}) {
    sqlite3_stmt* rows = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db, (std::string("SELECT * FROM ") + table).c_str(), -1, &rows, nullptr),
        SQLITE_OK);
    while (sqlite3_step(rows) == SQLITE_ROW) {
      for (int column = 0; column < sqlite3_column_count(rows); ++column) {
        if (sqlite3_column_type(rows, column) != SQLITE_TEXT) continue;
        const std::string text(reinterpret_cast<const char*>(sqlite3_column_text(rows, column)),
                               sqlite3_column_bytes(rows, column));
        ++texts;
        // Invalid sequences come back from UTF-16 as U+FFFD.
        EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text)
            << table << "." << sqlite3_column_name(rows, column);
      }
    }
    sqlite3_finalize(rows);
  }
  sqlite3_close(db);
  EXPECT_GT(texts, 0u);
}

// A listing or an export that passed over a part of the store it cannot read
// would pass for the whole store: both fail with the reason, and no export
// file is left.
TEST_F(OlstoreCli, ADamagedStoreIsNeitherListedNorExportedInPart) {
  Ok({"--store", m_store, "seed", "--contacts", "300", "--appointments", "0", "--tasks", "0",
      "--notes", "0"});
  ASSERT_TRUE(damage::DamageMiddleOf(m_store, "items"));
  const std::string damaged = damage::FileAndLog(m_store);
  const std::string file = m_dir.File("export.json");
  const std::vector<std::vector<std::string>> kCalls = {
      {"--store", m_store, "list", "contacts"},
      {"--store", m_store, "export"},
      {"--store", m_store, "export", file},
  };
  for (const std::vector<std::string>& args : kCalls) {
    SCOPED_TRACE(args[2] + (args.size() > 3 ? " " + args[3] : ""));
    const Outcome run = Olstore(args);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("cannot read the folder Contacts: the store is damaged ("),
              std::string::npos)
        << run.err;
  }
  EXPECT_FALSE(Exists(file));
  EXPECT_FALSE(Exists(file + ".part"));
  EXPECT_EQ(damage::FileAndLog(m_store), damaged);
}

TEST_F(OlstoreCli, ExportImportExportIsByteForByteTheSame) {
  Ok({"--store", m_store, "seed", "--contacts", "20", "--appointments", "12", "--tasks", "16",
      "--notes", "11"});
  const std::string exported = Ok({"--store", m_store, "export"});
  // Into a file that is there already: replaced whole.
  ASSERT_TRUE(WriteWholeFile(m_dir.File("a.json"), "an older export"));
  Ok({"--store", m_store, "export", m_dir.File("a.json")});
  EXPECT_EQ(ReadWholeFile(m_dir.File("a.json")), exported);

  const std::string copy = m_dir.File("copy.db");
  EXPECT_NE(Ok({"--store", copy, "import", m_dir.File("a.json")}).find("Imported 60 items"),
            std::string::npos);
  EXPECT_EQ(Ok({"--store", copy, "export"}), exported);

  // The same through standard input.
  const std::string third = m_dir.File("third.db");
  Outcome run = Olstore({"--store", third, "import", "-"}, m_dir.File("a.json"));
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(Ok({"--store", third, "export"}), exported);
}

TEST_F(OlstoreCli, AFailedImportChangesNothing) {
  Ok({"--store", m_store, "seed", "--contacts", "5", "--appointments", "0", "--tasks", "0", "--notes", "0"});
  const std::string before = Ok({"--store", m_store, "export"});
  const std::string entryId = Lines(Ok({"--store", m_store, "list", "contacts"}))[0].substr(0, 88);
  struct Case {
    std::string json;
    std::string message;
  } cases[] = {
      {R"({"format":"olstore","version":1,"notes":{"items":[{"Body":"a"},{"Body":"b","Colour":1}]}})",
       "notes: item 2: a Note has no property \"Colour\""},
      {R"({"format":"olstore","version":1,"notes":{"items":[{"Body":"a"}]},"tasks":{"items":[{"Status":"done"}]}})",
       "Status must be"},
      {R"({"format":"olstore","version":1,"contacts":{"folders":[{"name":"X","items":[{"EntryID":")" + entryId + R"("}]}]}})",
       "is already in the store"},
      {R"({"format":"olstore","version":1,"notes":{"items":[{"Body":"a"}]})", "not valid JSON"},
  };
  for (const Case& c : cases) {
    WriteWholeFile(m_dir.File("bad.json"), c.json);
    Outcome run = Olstore({"--store", m_store, "import", m_dir.File("bad.json")});
    EXPECT_EQ(run.code, 1) << c.json;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("nothing was imported"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(Ok({"--store", m_store, "export"}), before);
  }
}

TEST_F(OlstoreCli, WrongUseIsExplainedAndWritesNothing) {
  WriteWholeFile(m_dir.File("bad.json"), "{");
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {{}, 2, "usage: olstore"},
      {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
      {{"--verbose", "init"}, 2, "unknown option '--verbose'"},
      {{"init", "extra"}, 2, "usage: olstore init"},
      {{"list"}, 2, "usage: olstore list"},
      {{"list", "mail"}, 2, "unknown kind 'mail'"},
      {{"show", "not-hex"}, 2, "is not an entry ID"},
      {{"show", "00AB"}, 1, "no store at"},
      {{"seed", "--contacts", "many"}, 2, "--contacts needs a count"},
      {{"seed", "--contacts", "-5"}, 2, "--contacts needs a count"},
      {{"seed", "--colour", "3"}, 2, "seed has no option '--colour'"},
      {{"seed", "--notes"}, 2, "--notes needs a value"},
      {{"seed", "--date", "2024-14-01"}, 2, "--date needs a day"},
      {{"import"}, 2, "usage: olstore import FILE"},
      {{"import", m_dir.File("missing.json")}, 1, "cannot read"},
      {{"import", m_dir.File("bad.json")}, 1, "not valid JSON"},
      {{"export", "a", "b"}, 2, "usage: olstore export"},
      {{"export"}, 1, "no store at"},
      {{"stats"}, 1, "see 'olstore init'"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--store", m_store};
    args.insert(args.end(), c.args.begin(), c.args.end());
    Outcome run = Olstore(args);
    EXPECT_EQ(run.code, c.code) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(Exists(m_store)) << c.message;  // no store made by a failing command
  }
  Outcome run = Olstore({"--store"});
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("--store needs a path"), std::string::npos);
}

TEST_F(OlstoreCli, UnknownEntryIdOnAnExistingStore) {
  Ok({"--store", m_store, "init"});
  Outcome run = Olstore({"--store", m_store, "show", std::string(88, 'A')});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("no item has the entry ID"), std::string::npos) << run.err;
}

TEST_F(OlstoreCli, StorePathFromTheEnvironment) {
  const std::string fromEnv = m_dir.File("env/store.db");
  Outcome run = Olstore({"init"}, "", fromEnv);
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(Exists(fromEnv));
  // --store wins over the environment.
  run = Olstore({"--store", m_store, "init"}, "", fromEnv);
  EXPECT_EQ(run.code, 0);
  EXPECT_TRUE(Exists(m_store));
}

TEST_F(OlstoreCli, AFileThatIsNoStoreIsLeftAlone) {
  WriteWholeFile(m_store, "these are my notes, not a store");
  for (const char* command : {"init", "stats", "seed"}) {
    Outcome run = Olstore({"--store", m_store, command});
    EXPECT_EQ(run.code, 1) << command;
    EXPECT_NE(run.err.find("not a store"), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadWholeFile(m_store), "these are my notes, not a store");
}

TEST_F(OlstoreCli, HelpGoesToStandardOutput) {
  for (const char* help : {"help", "--help", "-h"}) {
    Outcome run = Olstore({help});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("export [FILE]"), std::string::npos);
  }
}

}  // namespace
}  // namespace olstore::test
