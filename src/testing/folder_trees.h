// Folder trees for the tests of folder walks.
#pragma once
#include <string>

namespace jpg2dds::testing {

// Below `base` (ending with "/"), a chain of folders so deep that the path
// of the innermost ones is longer than the system opens, even for root: an
// unreadable subfolder made without permissions. The first folder of the
// chain holds "c.jpg" (a few bytes); returns that folder's name with "/".
std::string MakeFoldersTooDeepToOpen(const std::string& base);

}  // namespace jpg2dds::testing
