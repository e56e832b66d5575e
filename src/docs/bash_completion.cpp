#include "docs/bash_completion.h"

#include "formats/format_tables.h"
#include "options/option_docs.h"
#include "platform/text_case.h"

namespace jpg2dds {
namespace {

// What the completion offers for a value.
std::string ValueKind(TextValue value) {
  switch (value) {
    case TextValue::kFile: return "file";
    case TextValue::kFolder: return "folder";
    case TextValue::kOutputType: return "type";
    default: return std::string();
  }
}

std::string Words(const KeywordTable& table) {
  std::string words;
  for (int i = 0; i < table.count; ++i) words += (i ? " " : "") + LowerCase(table.entries[i].word);
  return words;
}

std::string OutputTypes() {
  std::string words;
  for (const std::string& type : kOutputTypeList) words += (words.empty() ? "" : " ") + type;
  return words;
}

// One branch of a `case` on the lower-cased option name.
std::string Branch(int indent, const std::string& names, const std::string& kind, const std::string& words = "") {
  std::string branch = std::string(indent, ' ') + names + ") kind=" + kind;
  if (!words.empty()) branch += " words='" + words + "'";
  return branch + " ;;\n";
}

// The main part. Option names match in any case, as the program takes them;
// words are offered in lower case. The current word is taken from the line
// itself, so a value after "=" completes whether or not COMP_WORDBREAKS
// splits there.
const char kFunctionHead[] = R"(_jpg2dds()
{
    local line=${COMP_LINE:0:COMP_POINT}
    local cur=${line##*[[:space:]]}
    local before=${line%"$cur"}
    before=${before%"${before##*[![:space:]]}"}
    local prev=${before##*[[:space:]]}
    local kind='' words='' value=$cur prefix=''
    COMPREPLY=()
    case ${prev,,} in
)";

const char kFunctionMiddle[] = R"(    esac
    if [[ -z $kind && $cur == --*=* ]]; then
        local option=${cur%%=*}
        value=${cur#*=}
        # Without "=" among the word breaks, bash replaces the whole word.
        [[ $COMP_WORDBREAKS == *=* ]] || prefix=$option=
        kind=none
        case ${option,,} in
)";

const char kFunctionTail[] = R"(        esac
    elif [[ -z $kind && $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$_jpg2dds_options" -- "${cur,,}")
        # A value follows "=" directly.
        if [[ ${COMPREPLY[*]} == *=* ]]; then
            compopt -o nospace
        fi
        return 0
    elif [[ -z $kind ]]; then
        kind=file
    fi
    case $kind in
        file)
            compopt -o filenames
            mapfile -t COMPREPLY < <(compgen -f -- "$value") ;;
        folder)
            compopt -o filenames
            mapfile -t COMPREPLY < <(compgen -d -- "$value") ;;
        word | type)
            mapfile -t COMPREPLY < <(compgen -W "$words" -- "${value,,}") ;;
    esac
    if [[ -n $prefix ]]; then
        COMPREPLY=("${COMPREPLY[@]/#/$prefix}")
    fi
    return 0
}
complete -F _jpg2dds jpg2dds
)";

}  // namespace

std::string BashCompletionScript() {
  std::string options;
  std::string shortBranches;
  std::string longBranches;
  for (int i = 0; i < kCommandOptionDocCount; ++i) {
    const CommandOptionDoc& doc = kCommandOptionDocs[i];
    const bool takesValue = doc.kind == CommandOptionKind::kRunValue || doc.kind == CommandOptionKind::kProfile;
    const std::string kind = takesValue ? ValueKind(doc.value) : std::string();
    const std::string words = doc.value == TextValue::kOutputType ? OutputTypes() : std::string();
    for (const char* shortName : doc.shortNames) {
      // "-?" would be taken as a pattern by compgen; it stays in the manual.
      if (!shortName || std::string(shortName).find('?') != std::string::npos) continue;
      options += LowerCase(shortName) + " ";
      if (takesValue) shortBranches += Branch(8, LowerCase(shortName), kind.empty() ? "none" : kind, words);
    }
    options += LowerCase(doc.longName) + (takesValue ? "= " : " ");
    if (takesValue && !kind.empty()) longBranches += Branch(12, LowerCase(doc.longName), kind, words);
  }
  for (int i = 0; i < kOptionRowCount; ++i) {
    const OptionRow& row = kOptionRows[i];
    const std::string name = LowerCase(row.name);
    options += name + (row.kind == OptionKind::kFlag ? " " : "= ");
    if (row.kind == OptionKind::kKeyword) {
      longBranches += Branch(12, name, "word", Words(*row.keywords));
    } else if (const OptionDoc* doc = FindOptionDoc(row.name)) {
      const bool text = row.kind == OptionKind::kText || row.kind == OptionKind::kTextUnquoted ||
                        row.kind == OptionKind::kBatchInput;
      const std::string kind = text ? ValueKind(doc->textValue) : std::string();
      if (!kind.empty()) longBranches += Branch(12, name, kind);
    }
  }
  options.pop_back();

  return "# bash completion for jpg2dds(1), made from its option tables; do not edit.\n\n"
         "_jpg2dds_options='" + options + "'\n\n" + kFunctionHead + shortBranches + kFunctionMiddle +
         longBranches + kFunctionTail;
}

}  // namespace jpg2dds
