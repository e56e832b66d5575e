#include "docs/bash_completion.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "options/option_docs.h"
#include "platform/text_case.h"

namespace jpg2dds {
namespace {

namespace fs = std::filesystem;

// Types each case into an interactive bash on a terminal of its own, as a
// user does: the line, then TAB. A key bound with `bind -x` then writes the
// line as completed, the replies and the options given to compopt, one line
// a case, into the folder of the driver. Each command line waits for the
// prompt after it, so that no key arrives while the terminal is not bash's.
const char* const kSetup[] = {
    "source \"$DRIVER/completion\" && complete -p jpg2dds > \"$DRIVER/registration\"",
    "_jpg2dds_test() { _jpg2dds \"$@\"; replies=${COMPREPLY[*]}; }; complete -F _jpg2dds_test jpg2dds",
    "compopt() { options+=\"$*;\"; builtin compopt \"$@\"; }; breaks=$COMP_WORDBREAKS",
    "bind -x '\"\\C-t\": printf \"%s\\t%s\\t%s\\n\" \"$READLINE_LINE\" \"$replies\" \"$options\" >> \"$DRIVER/results\"; "
    "replies= options=; echo \"<do\"\"ne>\"'",
};

struct Case {
  std::string line;
  bool equalsBreaks = true;  // "=" among COMP_WORDBREAKS, as bash has it by default
};

struct Completed {
  std::string line;  // as TAB left it
  std::string replies;
  std::string options;
};

class BashCompletion : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("jpg2dds_completion_test_" + std::to_string(getpid()));
    fs::create_directories(folder_ / "sub");
    fs::create_directories(folder_ / "My Photos");
    fs::create_directories(folder_ / "it's here");
    driver_ = folder_.string() + "_driver";
    fs::create_directories(driver_);
    for (const char* name : {"pic.png", "photo.jpg", "My Photos/a b.jpg", "My Photos/c.jpg", "it's here/x.jpg"}) {
      std::ofstream(folder_ / name) << "x";
    }
    std::ofstream(driver_ / "completion") << BashCompletionScript();
  }
  void TearDown() override {
    fs::remove_all(folder_);
    fs::remove_all(driver_);
  }

  // The registration line, then one result per case.
  std::vector<Completed> Complete(const std::vector<Case>& cases, std::string& registration) {
    const std::string folder = folder_.string(), driver = driver_.string();
    int terminal = -1;
    const pid_t bash = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (bash == 0) {
      for (const auto& [name, value] : {std::pair<const char*, const char*>{"HOME", folder.c_str()},
                                        {"INPUTRC", "/dev/null"}, {"TERM", "dumb"}, {"PS1", "<ready>"},
                                        {"HISTFILE", "/dev/null"}, {"LC_ALL", "C"}, {"DRIVER", driver.c_str()}}) {
        setenv(name, value, 1);
      }
      unsetenv("PROMPT_COMMAND");
      if (chdir(folder.c_str()) == 0) execlp("bash", "bash", "--norc", "--noprofile", "-i", nullptr);
      _exit(127);
    }
    // Types the keys, then reads until bash has written `mark`.
    std::string output;
    auto type = [&](const std::string& keys, const std::string& mark) {
      if (write(terminal, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) return false;
      char buffer[4096];
      pollfd ready{terminal, POLLIN, 0};
      for (size_t at; (at = output.find(mark)) == std::string::npos;) {
        ssize_t n = poll(&ready, 1, 10000) > 0 ? read(terminal, buffer, sizeof buffer) : -1;
        if (n <= 0) return false;
        output.append(buffer, static_cast<size_t>(n));
      }
      output.erase(0, output.find(mark) + mark.size());
      return true;
    };
    EXPECT_TRUE(bash > 0 && type("", "<ready>"));
    for (const char* line : kSetup) EXPECT_TRUE(type(std::string(line) + "\n", "<ready>")) << line;
    bool equalsBreaks = true;
    for (const Case& c : cases) {
      if (c.equalsBreaks != equalsBreaks) {
        equalsBreaks = c.equalsBreaks;
        EXPECT_TRUE(type(equalsBreaks ? "\x15" "COMP_WORDBREAKS=$breaks\n" : "\x15" "COMP_WORDBREAKS=${breaks//=}\n",
                         "<ready>"));
      }
      // Ctrl-U empties the line the case before left.
      EXPECT_TRUE(type("\x15" + c.line + "\t\x14", "<done>")) << c.line;
    }
    if (bash > 0) {
      kill(bash, SIGKILL);
      waitpid(bash, nullptr, 0);
      close(terminal);
    }

    std::getline(std::ifstream(driver_ / "registration"), registration);
    std::ifstream lines(driver_ / "results");
    std::vector<Completed> results;
    for (std::string line; std::getline(lines, line);) {
      const size_t tab = line.find('\t'), tab2 = line.find('\t', tab + 1);
      results.push_back({line.substr(0, tab), line.substr(tab + 1, tab2 - tab - 1), line.substr(tab2 + 1)});
    }
    EXPECT_EQ(results.size(), cases.size());
    results.resize(cases.size());
    return results;
  }

  std::string Path(const char* name) const { return (folder_ / name).string(); }

  fs::path folder_;
  fs::path driver_;  // the driver's files, apart from the names to complete
};

bool HasWord(const std::string& words, const std::string& word) {
  return (" " + words + " ").find(" " + word + " ") != std::string::npos;
}

std::string Keywords(const KeywordTable& table, const std::string& prefix = "") {
  std::string words;
  for (int i = 0; i < table.count; ++i) words += (i ? " " : "") + prefix + LowerCase(table.entries[i].word);
  return words;
}

// Every option name completes from itself, typed in upper case, and every
// keyword option offers exactly its table's words, whether or not "=" breaks
// words.
TEST_F(BashCompletion, OffersEveryOptionNameAndEveryKeywordOfTheTables) {
  std::vector<Case> cases;
  for (int i = 0; i < kOptionRowCount; ++i) {
    const OptionRow& row = kOptionRows[i];
    cases.push_back({std::string("jpg2dds -i photo.jpg ") + row.name});
    if (row.kind == OptionKind::kKeyword) {
      cases.push_back({std::string("jpg2dds ") + row.name + "="});
      cases.push_back({std::string("jpg2dds ") + row.name + "=", false});
    }
  }
  for (int i = 0; i < kCommandOptionDocCount; ++i) {
    cases.push_back({std::string("jpg2dds ") + kCommandOptionDocs[i].longName});
  }
  std::string registration;
  const std::vector<Completed> results = Complete(cases, registration);
  EXPECT_EQ(registration, "complete -F _jpg2dds jpg2dds");

  size_t at = 0;
  for (int i = 0; i < kOptionRowCount; ++i) {
    const OptionRow& row = kOptionRows[i];
    SCOPED_TRACE(row.name);
    const std::string name = LowerCase(row.name);
    EXPECT_TRUE(HasWord(results[at++].replies, row.kind == OptionKind::kFlag ? name : name + "="));
    if (row.kind == OptionKind::kKeyword) {
      EXPECT_EQ(results[at++].replies, Keywords(*row.keywords));
      // The whole word is replaced then, so the option keeps its case as typed.
      EXPECT_EQ(results[at++].replies, Keywords(*row.keywords, std::string(row.name) + "="));
    }
  }
  for (int i = 0; i < kCommandOptionDocCount; ++i) {
    const CommandOptionDoc& doc = kCommandOptionDocs[i];
    const bool takesValue = doc.kind == CommandOptionKind::kRunValue || doc.kind == CommandOptionKind::kProfile;
    EXPECT_TRUE(HasWord(results[at++].replies, LowerCase(doc.longName) + (takesValue ? "=" : "")))
        << doc.longName;
  }
}

TEST_F(BashCompletion, CompletesWordsFilesAndFoldersWhereTheValueNamesThem) {
  const std::string folder = Path("");
  const std::string folders = folder + "My Photos " + folder + "it's here " + folder + "sub";
  const std::vector<std::pair<Case, std::string>> table = {  // what is typed, the replies
      {{"jpg2dds --resize-algorithm=LAN"}, "lanczos"},  // a value typed in upper case
      {{"jpg2dds --resize-algorithm=b"}, "box bilinear bspline bicubic"},
      {{"jpg2dds --resize-algorithm=b", false},
       "--resize-algorithm=box --resize-algorithm=bilinear --resize-algorithm=bspline --resize-algorithm=bicubic"},
      {{"jpg2dds --keep-aspect"}, "--keep-aspect-ratio"},  // one flag: a blank may follow
      {{"jpg2dds --keep-aspect-ratio=n"}, ""},             // a flag takes no value
      {{"jpg2dds --wm-image=" + folder + "pi"}, folder + "pic.png"},
      {{"jpg2dds --wm-image=" + folder + "pi", false}, "--wm-image=" + folder + "pic.png"},
      {{"jpg2dds --profile=" + folder + "ph"}, folder + "photo.jpg"},
      {{"jpg2dds -i " + folder + "ph"}, folder + "photo.jpg"},
      {{"jpg2dds --input=" + folder + "ph"}, folder + "photo.jpg"},
      {{"jpg2dds -O " + folder + "s"}, folder + "sub"},
      {{"jpg2dds -o " + folder}, folders},
      {{"jpg2dds --output=" + folder}, folders},
      {{"jpg2dds -c "}, "dds"},
      {{"jpg2dds --conversion="}, "dds"},
      {{"jpg2dds --width=1"}, ""},     // numbers are not completed
      {{"jpg2dds --wm-text=pi"}, ""},  // nor free text
      {{"jpg2dds --dds-bp"}, "--dds-bpp="},
  };
  std::vector<Case> cases;
  for (const auto& row : table) cases.push_back(row.first);
  cases.push_back({"jpg2dds --wm-text"});  // "--wm-text=" among others
  std::string registration;
  const std::vector<Completed> r = Complete(cases, registration);
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(r[i].replies, table[i].second) << table[i].first.line;
  EXPECT_EQ(r[3].options, "");
  EXPECT_EQ(r[5].options, "-o filenames;");
  EXPECT_EQ(r[17].options, "-o nospace;");
  EXPECT_TRUE(HasWord(r[18].replies, "--wm-text=") && HasWord(r[18].replies, "--wm-text-antialiasing"));
  EXPECT_EQ(r[18].options, "-o nospace;");
}

// Names with blanks and quotes, typed in the ways the shell takes them: TAB
// completes them on the line, quoted the same way.
TEST_F(BashCompletion, CompletesNamesWithBlanksAndQuotes) {
  const std::vector<std::pair<Case, std::string>> table = {
      {{R"(jpg2dds -i My\ Pho)"}, R"(jpg2dds -i My\ Photos/)"},
      {{R"(jpg2dds -o My\ Pho)"}, R"(jpg2dds -o My\ Photos/)"},
      {{R"(jpg2dds -i "My Photos/a)"}, R"(jpg2dds -i "My Photos/a b.jpg" )"},
      {{R"(jpg2dds -i 'My Photos/c)"}, R"(jpg2dds -i 'My Photos/c.jpg' )"},
      {{R"(jpg2dds -i "My Photos"/c)"}, R"(jpg2dds -i My\ Photos/c.jpg )"},
      {{R"(jpg2dds -i My\ Photos/)"}, R"(jpg2dds -i My\ Photos/)"},
      {{R"(jpg2dds -i it\'s\ here/)"}, R"(jpg2dds -i it\'s\ here/x.jpg )"},
      {{R"(jpg2dds -i ~/My\ Photos/c)"}, R"(jpg2dds -i ~/My\ Photos/c.jpg )"},
      {{R"(jpg2dds --wm-image="it's here/)"}, R"(jpg2dds --wm-image="it's here/x.jpg" )"},
      {{R"(jpg2dds --input=My\ Photos/a)"}, R"(jpg2dds --input=My\ Photos/a\ b.jpg )"},
      {{R"(jpg2dds --input=My\ Photos/a)", false}, R"(jpg2dds --input=My\ Photos/a\ b.jpg )"},
      {{R"(jpg2dds --output=My\ P)", false}, R"(jpg2dds --output=My\ Photos/)"},
  };
  std::vector<Case> cases;
  for (const auto& row : table) cases.push_back(row.first);
  std::string registration;
  const std::vector<Completed> results = Complete(cases, registration);
  for (size_t i = 0; i < table.size(); ++i) EXPECT_EQ(results[i].line, table[i].second) << table[i].first.line;
  EXPECT_EQ(results[5].replies, "My Photos/a b.jpg My Photos/c.jpg");
}

}  // namespace
}  // namespace jpg2dds
