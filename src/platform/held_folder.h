// Folders held open while files are made, written and moved in them, so that
// a link that another user plants along the way in a shared output folder
// (`ln -s /some/dir /tmp/shared/sub`) is never followed.
#pragma once
#include <string>

namespace jpg2dds {

struct HeldFolder {
  int fd = -1;  // open while held
};

// Holds the folder that the user named; a link to a folder is taken here,
// since the user chose it. False when it is no folder that can be opened.
bool HoldFolder(const std::string& path, HeldFolder& folder);

// Goes down from the held folder into `below`: each part that ends with "/"
// is one folder ("a/b/"; a last part without "/" is none, empty parts and
// "." stay where they are). No link is followed. With `makeMissing` a
// missing folder is made (mode 0755 before the umask) and ".." is refused,
// which would leave the folder; without it ".." goes up as named. False when
// a part cannot be entered or made; the folder is then released.
bool EnterFolders(HeldFolder& folder, const std::string& below, bool makeMissing);

void ReleaseFolder(HeldFolder& folder);

}  // namespace jpg2dds
