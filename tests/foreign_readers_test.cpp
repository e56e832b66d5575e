// The files open in the readers texture artists use, wherever the machine
// has them: Pillow and ImageMagick. Without either the test is skipped.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "e2e_support.h"

namespace {

// Standard output of a shell command; empty when it failed.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    if (pclose(pipe) != 0) out.clear();
  }
  return out;
}

bool Has(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

TEST(ForeignReaders, PillowAndImageMagickOpenEveryCompression) {
  const bool pillow = Has("/usr/bin/python3 -c 'import PIL'");
  const bool magick = Has("command -v identify");
  if (!pillow && !magick) GTEST_SKIP() << "neither Pillow nor ImageMagick is installed";
  e2e::TempDir dir;
  e2e::WriteJpeg(dir.File("photo.jpg"), 90, 60, 0x3070B0);
  const struct {
    const char* keyword;
    const char* pillowTile;  // what Pillow decodes the pixels with
    const char* magickCompression;
  } cases[] = {{"auto", "bcn 1", "DXT1"}, {"dxt1", "bcn 1", "DXT1"}, {"dxt5", "bcn 3", "DXT5"}, {"none", "raw", "None"}};
  // Each reader is started once for all the files: its start-up is most of its time.
  std::string files, pillowSays, magickSays;
  for (const auto& c : cases) {
    const std::string dds = dir.File(std::string(c.keyword) + ".dds");
    e2e::RunJpg2dds({"-i", dir.File("photo.jpg"), "-o", dir.path(), "-q", "--dds-compression=" + std::string(c.keyword),
                     "--filename-mask=" + std::string(c.keyword) + ".dds"});
    files += " '" + dds + "'";
    pillowSays += "DDS 90 60 " + std::string(c.pillowTile) + "\n";
    magickSays += "DDS 90 60 " + std::string(c.magickCompression) + "\n";
  }
  if (pillow) {
    // The tile is read before loading, which empties it.
    const std::string script =
        "import sys\n"
        "from PIL import Image\n"
        "for name in sys.argv[1:]:\n"
        "    t = Image.open(name).tile[0]\n"
        "    im = Image.open(name); im.load()\n"
        "    print(im.format, im.size[0], im.size[1], t[0], *(t[3][:1] if t[0] == 'bcn' else []))";
    EXPECT_EQ(Output("/usr/bin/python3 -c \"" + script + "\"" + files), pillowSays);
  }
  if (magick) {
    EXPECT_EQ(Output("identify -format '%m %w %h %C\\n'" + files), magickSays);
  }
}

}  // namespace
