// Folders of the user and their creation.
#pragma once
#include <string>

namespace jpg2dds {

// Creates one folder (mode 0755 before the umask); true when it was made or
// already is a folder.
bool CreateFolder(const std::string& path);

// The user's configuration folder: $XDG_CONFIG_HOME when it is set to an
// absolute path, else the home folder + "/.config"; empty when neither is
// known. It ends with "/" ("/" alone for the root) and holds no "//".
std::string UserConfigFolder();

// UserConfigFolder from the two values it is made of (`xdgConfigHome` null
// when unset, `home` empty when unknown).
std::string ConfigFolderFrom(const char* xdgConfigHome, const std::string& home);

}  // namespace jpg2dds
