// Path text helpers: folder part, file name, extension rule.
#pragma once
#include <string>

namespace jpg2dds {

// Everything up to and including the last '/' or '\'; empty without either.
std::string FolderPart(const std::string& path);

// The part after the last '/' or '\'.
std::string FileNamePart(const std::string& path);

// The extension rule of accepted input files: scanning back from the end,
// a dot must come before any blank, '/' or '\'; a dot that is the first
// character or follows a slash does not count. The extension ends at the
// first double quote. Returned as written (not lower-cased).
std::string PathExtension(const std::string& path);

// Whether the system can name the file as the text says: a NUL byte would
// end the name early, and the call would reach another file.
bool IsWholePath(const std::string& path);

}  // namespace jpg2dds
