// Folders of the user and their creation.
#pragma once
#include <string>

namespace jpg2dds {

// Creates one folder (mode 0755 before the umask); true when it was made or
// already is a folder.
bool CreateFolder(const std::string& path);

// Makes the folders of `relative` that are missing below `base`: each part
// that ends with "/" is one folder ("a/b/" makes base + "a/" and then
// base + "a/b/"; a last part without "/" is no folder). `base` ends with "/"
// and must exist already: it is never made. True when every folder stands
// afterwards; false when one cannot be made or a part is "..", which would
// leave `base`.
bool CreateFoldersBelow(const std::string& base, const std::string& relative);

// The user's configuration folder: $XDG_CONFIG_HOME when it is set to an
// absolute path, else the home folder + "/.config"; empty when neither is
// known. It ends with "/" ("/" alone for the root) and holds no "//".
std::string UserConfigFolder();

// UserConfigFolder from the two values it is made of (`xdgConfigHome` null
// when unset, `home` empty when unknown).
std::string ConfigFolderFrom(const char* xdgConfigHome, const std::string& home);

}  // namespace jpg2dds
