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
// words are offered in lower case. It works from the words bash hands over,
// which bash splits at the characters of COMP_WORDBREAKS too ("=" and ":"
// among them), and keeps quoted: the arguments up to the cursor are put back
// together from the words that no blank separates, and unquoted. The replies
// are whole values, less the part before the word that bash replaces ($2,
// which begins after an open quote or after the last word break); with
// "-o filenames" bash quotes them as the line needs.
const char kFunctionHead[] = R"(# The text a shell word stands for as far as it is typed: quotes and
# backslashes taken away, an open quote as if closed; into REPLY.
_jpg2dds_unquote()
{
    local word=$1 quote='' c i
    REPLY=''
    for ((i = 0; i < ${#word}; i++)); do
        c=${word:i:1}
        if [[ $quote == "'" ]]; then
            if [[ $c == "'" ]]; then quote=''; else REPLY+=$c; fi
        elif [[ $c == '\' ]]; then
            ((++i))
            c=${word:i:1}
            # Between double quotes a backslash quotes only $ ` " and itself.
            if [[ $quote == '"' && $c != [\$\`\"\\] ]]; then REPLY+='\'; fi
            REPLY+=$c
        elif [[ $c == '"' ]]; then
            if [[ $quote ]]; then quote=''; else quote='"'; fi
        elif [[ $c == "'" && -z $quote ]]; then
            quote="'"
        else
            REPLY+=$c
        fi
    done
}

# Into COMPREPLY: the names that begin with the text $1 (taken literally, not
# as a pattern); only folders when $2 is folder.
_jpg2dds_names()
{
    local typed=$1 start=$1 name shopts=()
    # A leading "~/" is the home folder, as the shell takes it.
    [[ $typed == '~/'* ]] && start=$HOME/${typed:2}
    # Hidden names too, as bash offers them; the user's options come back after.
    for name in nullglob dotglob failglob; do
        if shopt -q "$name"; then shopts+=("-s $name"); else shopts+=("-u $name"); fi
    done
    shopt -s nullglob dotglob
    shopt -u failglob
    local found=("$start"*)
    for name in "${shopts[@]}"; do shopt $name; done
    for name in "${found[@]}"; do
        [[ $2 == folder && ! -d $name ]] || COMPREPLY+=("$typed${name:${#start}}")
    done
}

_jpg2dds()
{
    local IFS=$' \t\n' line=${COMP_LINE:0:COMP_POINT} args=() i word
    for ((i = 0; i <= COMP_CWORD; i++)); do
        if ((i == 0)) || [[ $line == [[:space:]]* ]]; then args+=(''); fi
        line=${line#"${line%%[![:space:]]*}"}
        # The word under the cursor counts up to the cursor.
        if ((i < COMP_CWORD)); then word=${COMP_WORDS[i]}; else word=$line; fi
        args[-1]+=$word
        line=${line#"$word"}
    done
    local cur=${args[-1]} prev=''
    ((${#args[@]} > 1)) && prev=${args[-2]}
    _jpg2dds_unquote "$prev"
    prev=$REPLY
    # The part of the argument before the text that bash replaces.
    local cut=0
    if [[ $cur == *"$2" ]]; then
        _jpg2dds_unquote "${cur%"$2"}"
        cut=${#REPLY}
    fi
    _jpg2dds_unquote "$cur"
    local kind='' words='' value=$REPLY option=''
    COMPREPLY=()
    case ${prev,,} in
)";

const char kFunctionMiddle[] = R"(    esac
    if [[ -z $kind && $value == --*=* ]]; then
        option=${value%%=*}
        value=${value#*=}
        kind=none
        case ${option,,} in
)";

const char kFunctionTail[] = R"(        esac
        option+='='
    elif [[ -z $kind && $value == -* ]]; then
        kind=option words=$_jpg2dds_options
    elif [[ -z $kind ]]; then
        kind=file
    fi
    case $kind in
        file | folder)
            compopt -o filenames
            _jpg2dds_names "$value" "$kind" ;;
        word | type | option)
            for word in $words; do
                [[ $word == "${value,,}"* ]] && COMPREPLY+=("$word")
            done ;;
    esac
    for i in "${!COMPREPLY[@]}"; do
        word=$option${COMPREPLY[i]}
        word=${word:cut}
        # bash marks a folder with "/" only where the reply is the folder's name.
        if [[ $kind == f* && $word != "${COMPREPLY[i]}" && -d ${COMPREPLY[i]} ]]; then word+=/; fi
        COMPREPLY[i]=$word
    done
    # A value follows "=" directly, a name in a folder its "/".
    if [[ $kind == option && " ${COMPREPLY[*]} " == *"= "* ]] ||
        [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == */ ]]; then
        compopt -o nospace
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
