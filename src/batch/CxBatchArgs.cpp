#include "batch/CxBatchArgs.h"

#include <cstddef>

namespace {

constexpr char kToolHelp[] =
    "Usage: quillmere-batch COMMAND [OPTIONS]\n"
    "Changes fields of many Outlook items in one pass, as the wizard does, from a\n"
    "command line or a script.\n"
    "\n"
    "Commands:\n"
    "  run      apply definitions to the items of a kind\n"
    "  undo     take a past run back\n"
    "  runs     list the runs the journal keeps\n"
    "  fields   list the fields of a kind\n"
    "\n"
    "quillmere-batch COMMAND --help tells more about each.\n"
    "Exit status: 0 every item saved, 1 some item not saved, 2 wrong use or bad input.\n";

constexpr char kRunHelp[] =
    "Usage: quillmere-batch run --kind KIND DEFINITION... [--subfolders]\n"
    "                           [--where FIELD OP [TEXT]]... [--dry-run] [--report FILE.csv] "
    "[--yes]\n"
    "Applies the definitions, in the order given, to every item of the kind (contacts,\n"
    "calendar, tasks or notes) that matches all --where rules, and saves each item.\n"
    "\n"
    "Definitions:\n"
    "  --profile FILE                  the definitions of a saved profile\n"
    "  --set FIELD VALUE               a text, a whole number, true or false, the name of\n"
    "                                  a choice, YYYY-MM-DD or YYYY-MM-DDTHH:MM\n"
    "  --append FIELD TEXT             adds TEXT at the end of a text field\n"
    "  --insert FIELD POSITION TEXT    inserts TEXT at a character position (from 0)\n"
    "  --replace FIELD SEARCH TEXT     replaces every SEARCH by TEXT\n"
    "FIELD is the field's name as 'quillmere-batch fields' lists it (\"Job Title\").\n"
    "\n"
    "Options:\n"
    "  --subfolders                    also the items of the default folder's subfolders\n"
    "  --where FIELD OP [TEXT]         only items whose FIELD meets OP: contains,\n"
    "                                  not-contains, equals, starts-with (with TEXT;\n"
    "                                  case is ignored), empty, not-empty\n"
    "  --dry-run                       show what would change, write nothing\n"
    "  --report FILE.csv               write what happened to every item\n"
    "  --yes                           save without asking\n"
    "Without --yes the tool shows how many items would change and asks, on a terminal.\n";

constexpr char kUndoHelp[] =
    "Usage: quillmere-batch undo [RUN|last] [--dry-run] [--yes]\n"
    "Puts back the values a run changed (by default the last run). An item changed\n"
    "since the run is left as it is and reported; so is an item deleted since.\n"
    "  --dry-run   show what would be restored, write nothing\n"
    "  --yes       restore without asking\n";

constexpr char kRunsHelp[] =
    "Usage: quillmere-batch runs\n"
    "Lists the runs the journal keeps, the latest first: the number 'undo' takes, when,\n"
    "which kind, how many items were saved, and the definitions.\n";

constexpr char kFieldsHelp[] =
    "Usage: quillmere-batch fields --kind KIND\n"
    "Lists the fields of a kind (contacts, calendar, tasks, notes) that definitions\n"
    "can change, with their types and choices.\n";

struct CommandName {
  BatchCommand nCommand;
  const char* szName;
};
constexpr CommandName kCommands[] = {
    {bcRun, "run"}, {bcUndo, "undo"}, {bcRuns, "runs"}, {bcFields, "fields"}};

// Walks the arguments, handing out the values options take.
class ArgReader {
 public:
  explicit ArgReader(const std::vector<std::string>& args) : m_Args(args) {}
  bool AtEnd() const { return m_nNext >= m_Args.size(); }
  const std::string& Next() { return m_Args[m_nNext++]; }
  // The next nCount arguments as the values of strOption.
  bool Take(const std::string& strOption, size_t nCount, std::vector<std::string>* pValues,
            std::string* pError) {
    if (m_Args.size() - m_nNext < nCount) {
      *pError =
          strOption + " needs " + std::to_string(nCount) + (nCount == 1 ? " value" : " values");
      return false;
    }
    for (size_t n = 0; n < nCount; ++n) pValues->push_back(Next());
    return true;
  }
  // Whether the next argument is a value (not an option).
  bool NextIsValue() const { return !AtEnd() && m_Args[m_nNext].rfind("--", 0) != 0; }

 private:
  const std::vector<std::string>& m_Args;
  size_t m_nNext = 0;
};

struct DefinitionOption {
  const char* szOption;
  DefinitionSource nSource;
  size_t nValues;  // after the field; a profile has no field
};
constexpr DefinitionOption kDefinitionOptions[] = {
    {"--profile", dsProfile, 1}, {"--set", dsSet, 1},         {"--append", dsAppend, 1},
    {"--insert", dsInsert, 2},   {"--replace", dsReplace, 2},
};

bool ParseRunOption(const std::string& strOption, ArgReader& reader, CxBatchArgs* pArgs,
                    std::string* pError) {
  std::vector<std::string> values;
  for (const DefinitionOption& option : kDefinitionOptions) {
    if (strOption != option.szOption) continue;
    const size_t nCount = option.nValues + (option.nSource == dsProfile ? 0 : 1);
    if (!reader.Take(strOption, nCount, &values, pError)) return false;
    CxDefinitionArg definition{option.nSource, {}, {}};
    if (option.nSource != dsProfile) {
      definition.strField = values[0];
      values.erase(values.begin());
    }
    definition.Values = values;
    pArgs->Definitions.push_back(definition);
    return true;
  }
  if (strOption == "--kind") {
    if (!reader.Take(strOption, 1, &values, pError)) return false;
    pArgs->strKind = values[0];
  } else if (strOption == "--where") {
    if (!reader.Take(strOption, 2, &values, pError)) return false;
    CxWhereArg where{values[0], rcContains, {}};
    if (!ParseRuleCondition(values[1], &where.nCondition)) {
      *pError = "--where: \"" + values[1] +
                "\" is not contains, not-contains, equals, starts-with, empty or not-empty";
      return false;
    }
    if (CxTickRule::TakesText(where.nCondition)) {
      if (!reader.Take(strOption + " " + values[1], 1, &values, pError)) return false;
      where.strText = values[2];
    }
    pArgs->Where.push_back(where);
  } else if (strOption == "--report") {
    if (!reader.Take(strOption, 1, &values, pError)) return false;
    pArgs->strReport = values[0];
  } else if (strOption == "--subfolders") {
    pArgs->bSubfolders = true;
  } else if (strOption == "--dry-run") {
    pArgs->bDryRun = true;
  } else if (strOption == "--yes") {
    pArgs->bYes = true;
  } else {
    *pError = "run has no option " + strOption;
    return false;
  }
  return true;
}

}  // namespace

bool ParseBatchArgs(const std::vector<std::string>& args, CxBatchArgs* pArgs, std::string* pError) {
  *pArgs = CxBatchArgs();
  ArgReader reader(args);
  if (reader.AtEnd()) {
    *pError = "a command is missing: run, undo, runs or fields";
    return false;
  }
  const std::string& strCommand = reader.Next();
  if (strCommand == "--help" || strCommand == "help") {
    pArgs->bHelp = true;
    return true;
  }
  for (const CommandName& command : kCommands)
    if (strCommand == command.szName) pArgs->nCommand = command.nCommand;
  if (pArgs->nCommand == bcNone) {
    *pError = "\"" + strCommand + "\" is not a command: run, undo, runs or fields";
    return false;
  }
  bool bRunGiven = false;
  while (!reader.AtEnd()) {
    const std::string& strArg = reader.Next();
    if (strArg == "--help") {
      pArgs->bHelp = true;
      return true;
    }
    switch (pArgs->nCommand) {
      case bcRun:
        if (!ParseRunOption(strArg, reader, pArgs, pError)) return false;
        break;
      case bcUndo:
        if (strArg == "--dry-run") {
          pArgs->bDryRun = true;
        } else if (strArg == "--yes") {
          pArgs->bYes = true;
        } else if (strArg.rfind("--", 0) != 0 && !bRunGiven &&
                   (strArg == "last" ||
                    (!strArg.empty() && strArg.size() <= 18 &&
                     strArg.find_first_not_of("0123456789") == std::string::npos))) {
          pArgs->strRun = strArg;
          bRunGiven = true;
        } else {
          *pError = "undo takes a run's number or last, --dry-run and --yes, not " + strArg;
          return false;
        }
        break;
      case bcFields:
        if (strArg == "--kind" && reader.NextIsValue()) {
          pArgs->strKind = reader.Next();
        } else {
          *pError = "fields takes --kind KIND, not " + strArg;
          return false;
        }
        break;
      default:
        *pError = "runs takes no arguments, not " + strArg;
        return false;
    }
  }
  if ((pArgs->nCommand == bcRun || pArgs->nCommand == bcFields) && pArgs->strKind.empty()) {
    *pError = strCommand + " needs --kind contacts|calendar|tasks|notes";
    return false;
  }
  if (pArgs->nCommand == bcRun && pArgs->Definitions.empty()) {
    *pError =
        "run needs at least one definition: --profile, --set, --append, --insert or --replace";
    return false;
  }
  return true;
}

const char* GetBatchHelp(BatchCommand nCommand) {
  switch (nCommand) {
    case bcRun:
      return kRunHelp;
    case bcUndo:
      return kUndoHelp;
    case bcRuns:
      return kRunsHelp;
    case bcFields:
      return kFieldsHelp;
    default:
      return kToolHelp;
  }
}
