#include "docs/bash_completion.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "options/option_docs.h"
#include "platform/text_case.h"

namespace jpg2dds {
namespace {

namespace fs = std::filesystem;

// Sources the script in a bash of its own, as an interactive shell would,
// and completes each line as if the cursor stood at its end: one output line
// per case, the replies and then the options given to compopt.
const char kDriver[] = R"(source "$1" || exit 1
complete -p jpg2dds
compopt() { options+="$*;"; }
while IFS=$'\t' read -r breaks line; do
  if [[ $breaks == = ]]; then COMP_WORDBREAKS=$' \t\n"\'><=;|&(:'; else COMP_WORDBREAKS=$' \t\n"\'><;|&(:'; fi
  COMP_LINE=$line COMP_POINT=${#line} options=''
  read -ra COMP_WORDS <<< "$line"
  COMP_CWORD=${#COMP_WORDS[@]}
  _jpg2dds
  printf '%s\t%s\n' "${COMPREPLY[*]}" "$options"
done < "$2"
)";

struct Case {
  std::string line;
  bool equalsBreaks = true;  // "=" among COMP_WORDBREAKS, as bash has it by default
};

struct Completed {
  std::string replies;
  std::string options;
};

class BashCompletion : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("jpg2dds_completion_test_" + std::to_string(getpid()));
    fs::create_directories(folder_ / "sub");
    std::ofstream(folder_ / "pic.png") << "x";
    std::ofstream(folder_ / "photo.jpg") << "x";
    std::ofstream(folder_ / "completion") << BashCompletionScript();
    std::ofstream(folder_ / "driver") << kDriver;
  }
  void TearDown() override { fs::remove_all(folder_); }

  // The registration line, then one result per case.
  std::vector<Completed> Complete(const std::vector<Case>& cases, std::string& registration) {
    std::ofstream input(folder_ / "cases");
    for (const Case& c : cases) input << (c.equalsBreaks ? "=" : "-") << '\t' << c.line << '\n';
    input.close();
    const std::string command = "bash --norc --noprofile '" + (folder_ / "driver").string() + "' '" +
                                (folder_ / "completion").string() + "' '" + (folder_ / "cases").string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (size_t n; pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    if (pipe) {
      EXPECT_EQ(pclose(pipe), 0);
    }
    std::istringstream lines(out);
    std::getline(lines, registration);
    std::vector<Completed> results;
    for (std::string line; std::getline(lines, line);) {
      const size_t tab = line.find('\t');
      results.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1)});
    }
    EXPECT_EQ(results.size(), cases.size());
    results.resize(cases.size());
    return results;
  }

  std::string Path(const char* name) const { return (folder_ / name).string(); }

  fs::path folder_;
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
  const std::vector<Case> cases = {
      {"jpg2dds --resize-algorithm=LAN"},             // a value typed in upper case
      {"jpg2dds --resize-algorithm=b"},
      {"jpg2dds --resize-algorithm=b", false},
      {"jpg2dds --keep-aspect"},                      // one flag: a blank may follow
      {"jpg2dds --keep-aspect-ratio=n"},              // a flag takes no value
      {"jpg2dds --wm-image=" + folder + "pi"},
      {"jpg2dds --wm-image=" + folder + "pi", false},
      {"jpg2dds --profile=" + folder + "ph"},
      {"jpg2dds -i " + folder + "ph"},
      {"jpg2dds --input=" + folder + "ph"},
      {"jpg2dds -O " + folder + "s"},
      {"jpg2dds -o " + folder},
      {"jpg2dds --output=" + folder},
      {"jpg2dds -c "},
      {"jpg2dds --conversion="},
      {"jpg2dds --width=1"},                          // numbers are not completed
      {"jpg2dds --wm-text=pi"},                       // nor free text
      {"jpg2dds --dds-bp"},
      {"jpg2dds --wm-text"},                          // "--wm-text=" among others
  };
  std::string registration;
  const std::vector<Completed> r = Complete(cases, registration);
  EXPECT_EQ(r[0].replies, "lanczos");
  EXPECT_EQ(r[1].replies, "box bilinear bspline bicubic");
  EXPECT_EQ(r[2].replies, "--resize-algorithm=box --resize-algorithm=bilinear --resize-algorithm=bspline "
                          "--resize-algorithm=bicubic");
  EXPECT_EQ(r[3].replies, "--keep-aspect-ratio");
  EXPECT_EQ(r[3].options, "");
  EXPECT_EQ(r[4].replies, "");
  EXPECT_EQ(r[5].replies, folder + "pic.png");
  EXPECT_EQ(r[5].options, "-o filenames;");
  EXPECT_EQ(r[6].replies, "--wm-image=" + folder + "pic.png");
  EXPECT_EQ(r[7].replies, folder + "photo.jpg");
  EXPECT_EQ(r[8].replies, folder + "photo.jpg");
  EXPECT_EQ(r[9].replies, folder + "photo.jpg");
  EXPECT_EQ(r[10].replies, folder + "sub");
  EXPECT_EQ(r[11].replies, folder + "sub");
  EXPECT_EQ(r[12].replies, folder + "sub");
  EXPECT_EQ(r[13].replies, "dds");
  EXPECT_EQ(r[14].replies, "dds");
  EXPECT_EQ(r[15].replies, "");
  EXPECT_EQ(r[16].replies, "");
  EXPECT_EQ(r[17].replies, "--dds-bpp=");
  EXPECT_EQ(r[17].options, "-o nospace;");
  EXPECT_TRUE(HasWord(r[18].replies, "--wm-text=") && HasWord(r[18].replies, "--wm-text-antialiasing"));
  EXPECT_EQ(r[18].options, "-o nospace;");
}

}  // namespace
}  // namespace jpg2dds
