// The bash completion script, made from the option table, the keyword
// tables and the documentation table: option names, keyword values, files
// and folders where a value names one.
#pragma once
#include <string>

namespace jpg2dds {

// A script to source (or to install as
// share/bash-completion/completions/jpg2dds) that defines _jpg2dds and
// registers it for the jpg2dds command.
std::string BashCompletionScript();

}  // namespace jpg2dds
