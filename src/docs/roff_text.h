// Plain text made safe for a manual page in roff.
#pragma once
#include <string>

namespace jpg2dds {

// The text as roff prints it literally: backslashes and hyphens escaped
// (hyphens as \- so that options copy from the page as typed), a leading
// "." or "'" kept from reading as a request, characters beyond ASCII
// written as \[uXXXX]. Line breaks are not expected and are kept.
std::string RoffText(const std::string& text);

}  // namespace jpg2dds
