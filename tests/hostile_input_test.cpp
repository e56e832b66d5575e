// Hostile and broken input: every failure ends with a clear line, exit code
// 0, no crash or hang, no stray temporary file, and an existing output that
// survives byte for byte.
#include <FreeImage.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "e2e_support.h"

namespace {

using e2e::RunJpg2dds;
using e2e::TempDir;
using Lines = std::vector<std::string>;

std::string SmallJpegBytes(const TempDir& dir, int width = 32, int height = 24) {
  std::string path = dir.File("source-for-bytes.jpg");
  e2e::WriteJpeg(path, width, height);
  std::string bytes = e2e::ReadBytes(path);
  unlink(path.c_str());
  return bytes;
}

// Rewrites the frame header's size fields (SOF0..SOF2).
std::string WithClaimedSize(std::string jpeg, int width, int height) {
  for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
    unsigned char marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
      jpeg[i + 5] = static_cast<char>(height >> 8);
      jpeg[i + 6] = static_cast<char>(height & 0xFF);
      jpeg[i + 7] = static_cast<char>(width >> 8);
      jpeg[i + 8] = static_cast<char>(width & 0xFF);
      return jpeg;
    }
  }
  ADD_FAILURE() << "no frame header found";
  return jpeg;
}

// Converts `input` in debug+quiet mode; returns the worker's verdict line.
std::string Verdict(const std::string& input, const std::string& outputFolder, long fileSizeLimit = -1) {
  e2e::RunResult result = RunJpg2dds({"-i", input, "-o", outputFolder, "-q", "-d"}, "", fileSizeLimit);
  EXPECT_EQ(result.exitCode, 0) << input;
  for (const std::string& line : result.lines) {
    if (line == "OK" || line == "Not OK") return line;
  }
  return result.lines.empty() ? std::string("(nothing)") : result.lines.back();
}

TEST(HostileInput, TruncatedJpegsNeverCrash) {
  TempDir dir;
  std::string bytes = SmallJpegBytes(dir, 64, 64);
  for (size_t cut : {size_t{1}, size_t{2}, size_t{20}, size_t{200}, bytes.size() / 2, bytes.size() - 2}) {
    std::string input = dir.File("cut.jpg");
    e2e::WriteBytes(input, bytes.substr(0, cut));
    std::string verdict = Verdict(input, dir.path());
    EXPECT_TRUE(verdict == "OK" || verdict == "Not OK") << "cut at " << cut << ": " << verdict;
    EXPECT_FALSE(e2e::HasTemporaryFile(dir.path()));
    unlink(dir.File("cut.dds").c_str());
  }
}

// Exif blocks that crash FreeImage's own reader, as damaged camera files
// carry them: the photo is still a photo.
TEST(HostileInput, DamagedExifBlocksStillConvert) {
  TempDir dir;
  const std::string jpeg = SmallJpegBytes(dir);
  std::string claimed("Exif\0\0MM\0*\0\0\0\x08\xFF\xFF", 16);  // 65535 entries in 60 bytes
  claimed.resize(58, '\x7F');
  for (const std::string& payload : {std::string("Exif\0\0II*\0", 10), claimed}) {
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>((payload.size() + 2) >> 8);
    segment += static_cast<char>((payload.size() + 2) & 0xFF);
    e2e::WriteBytes(dir.File("camera.jpg"), jpeg.substr(0, 2) + segment + payload + jpeg.substr(2));
    EXPECT_EQ(Verdict(dir.File("camera.jpg"), dir.path()), "OK");
    // And as a watermark picture, which is drawn.
    e2e::WriteJpeg(dir.File("photo.jpg"), 64, 48, 0x000000);
    e2e::RunResult marked = RunJpg2dds({"-i", dir.File("photo.jpg"), "-o", dir.path(), "-q", "-d",
                                        "--wm-image=" + dir.File("camera.jpg"), "--wm-image-position=topleft",
                                        "--wm-image-x-offset=0", "--wm-image-y-offset=0", "--dds-compression=none"});
    ASSERT_FALSE(marked.lines.empty());
    EXPECT_EQ(marked.lines.back(), "OK");
    // The watermark's mid grey covers the black photo's top-left pixel
    // (uncompressed, first pixel right after the header).
    EXPECT_GT(static_cast<unsigned char>(e2e::ReadBytes(dir.File("photo.dds"))[128]), 100);
  }
}

TEST(HostileInput, HugeClaimedPictureFailsQuickly) {
  TempDir dir;
  std::string input = dir.File("huge.jpg");
  e2e::WriteBytes(input, WithClaimedSize(SmallJpegBytes(dir), 60000, 60000));
  EXPECT_EQ(Verdict(input, dir.path()), "Not OK");
  EXPECT_EQ(e2e::ListFolder(dir.path()), Lines{"huge.jpg"});
}

TEST(HostileInput, NamesWithOddBytesConvert) {
  TempDir dir;
  for (const std::string& name :
       {std::string("with space.jpg"), std::string("quote\"d.jpg"), std::string("-dash.jpg"),
        std::string("bad\xff\xfe utf8.jpg"), std::string("caf\xc3\xa9.jpg")}) {
    std::string input = dir.File(name);
    e2e::WriteJpeg(input, 16, 16);
    EXPECT_EQ(Verdict(input, dir.path()), "OK") << name;
    std::string output = dir.File(name.substr(0, name.size() - 4) + ".dds");
    struct stat st {};
    EXPECT_EQ(stat(output.c_str(), &st), 0) << output;
  }
}

TEST(HostileInput, VeryLongPathsFailCleanly) {
  TempDir dir;
  std::string longName(300, 'a');  // longer than a file name may be
  std::string input = dir.File(longName + ".jpg");
  e2e::RunResult result = RunJpg2dds({"-i", input, "-q"});
  EXPECT_EQ(result.lines, Lines{"Error: Invalid input file"});
  std::string deep = dir.path();
  for (int i = 0; i < 40; ++i) deep += "/" + std::string(100, 'd');
  result = RunJpg2dds({"-i", deep + "/x.jpg", "-o", deep, "-q"});
  EXPECT_EQ(result.lines, Lines{"Error: Invalid input file"});
  EXPECT_EQ(result.exitCode, 0);
}

TEST(HostileInput, OutputFolderThatIsAFileOrMissing) {
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 16, 16);
  e2e::WriteBytes(dir.File("file"), "x");
  EXPECT_EQ(RunJpg2dds({"-i", input, "-o", dir.File("file"), "-q"}).lines, Lines{"Error: Invalid output folder"});
  EXPECT_EQ(RunJpg2dds({"-i", input, "-o", dir.File("gone"), "-q"}).lines, Lines{"Error: Invalid output folder"});
}

TEST(HostileInput, ReadOnlyOutputFolderIsNotOk) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 16, 16);
  mkdir(dir.File("ro").c_str(), 0555);
  EXPECT_EQ(Verdict(input, dir.File("ro")), "Not OK");
  EXPECT_TRUE(e2e::ListFolder(dir.File("ro")).empty());
}

TEST(HostileInput, ExistingOutputSurvivesEveryFailure) {
  TempDir dir;
  const std::string old = "previous output, must survive";
  std::string output = dir.File("pic.dds");
  std::string input = dir.File("pic.jpg");

  // Undecodable input.
  e2e::WriteBytes(input, "GIF89a not a jpeg at all");
  e2e::WriteBytes(output, old);
  EXPECT_EQ(Verdict(input, dir.path()), "Not OK");
  EXPECT_EQ(e2e::ReadBytes(output), old);

  // A write that fails part way, as on a full disk.
  e2e::WriteJpeg(input, 512, 512);
  EXPECT_EQ(Verdict(input, dir.path(), 8192), "Not OK");
  EXPECT_EQ(e2e::ReadBytes(output), old);
  EXPECT_FALSE(e2e::HasTemporaryFile(dir.path()));

  // The same picture without the limit replaces the old file.
  EXPECT_EQ(Verdict(input, dir.path()), "OK");
  EXPECT_NE(e2e::ReadBytes(output), old);
}

TEST(HostileInput, FullDiskKeepsTheOldOutput) {
  TempDir dir;
  std::string input = dir.File("pic.jpg");
  e2e::WriteJpeg(input, 512, 512);
  std::string disk = dir.File("disk");
  mkdir(disk.c_str(), 0755);
  // A 64 KiB file system: the DDS of a 512 x 512 picture needs about 175 KiB.
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "no permission to mount a small file system here";
  }
  const std::string old = "previous output, must survive";
  e2e::WriteBytes(disk + "/pic.dds", old);
  std::string verdict = Verdict(input, disk);
  std::string kept = e2e::ReadBytes(disk + "/pic.dds");
  Lines names = e2e::ListFolder(disk);
  umount(disk.c_str());
  EXPECT_EQ(verdict, "Not OK");
  EXPECT_EQ(kept, old);
  EXPECT_EQ(names, Lines{"pic.dds"});
}

TEST(HostileInput, FolderUnderTheOutputNameIsLeftAlone) {
  TempDir dir;
  std::string input = dir.File("pic.jpg");
  e2e::WriteJpeg(input, 16, 16);
  mkdir(dir.File("pic.dds").c_str(), 0755);
  EXPECT_EQ(Verdict(input, dir.path()), "Not OK");
  struct stat st {};
  ASSERT_EQ(stat(dir.File("pic.dds").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_FALSE(e2e::HasTemporaryFile(dir.path()));
}

TEST(HostileInput, ReadOnlyExistingOutputIsReplaced) {
  TempDir dir;
  std::string input = dir.File("pic.jpg");
  e2e::WriteJpeg(input, 16, 16);
  e2e::WriteBytes(dir.File("pic.dds"), "old");
  chmod(dir.File("pic.dds").c_str(), 0444);
  EXPECT_EQ(Verdict(input, dir.path()), "OK");
  EXPECT_EQ(e2e::ReadBytes(dir.File("pic.dds")).substr(0, 4), "DDS ");
}

TEST(HostileInput, HostileProfileIsReadWithoutHarm) {
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 16, 16);
  std::string profile = "[CLI]\r\n--WM-TEXT=" + std::string(1 << 20, 'x') + "\r\n";
  for (int i = 0; i < 256; ++i) profile += static_cast<char>(i);
  const char tail[] = "\n--DDS-BPP=32\n\0\0\0--WIDTH=\xff\xfe\n";
  profile.append(tail, sizeof tail - 1);
  e2e::WriteBytes(dir.File("p.ini"), profile);
  e2e::RunResult result = RunJpg2dds({"-i", input, "-o", dir.path(), "--profile=" + dir.File("p.ini"), "-q"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(result.lines.empty()) << result.out.substr(0, 200);
}

TEST(HostileInput, GarbageWatermarkPictureLeavesTheWatermarkOut) {
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 64, 64);
  e2e::WriteBytes(dir.File("logo.png"), std::string("\x89PNG\r\n\x1a\n", 8) + std::string(500, '\x07'));
  e2e::RunResult result =
      RunJpg2dds({"-i", input, "-o", dir.path(), "--wm-image=" + dir.File("logo.png"), "-q", "-d"});
  EXPECT_EQ(result.lines.back(), "OK");
}

TEST(HostileInput, WatermarkPicturesLeaveStandardErrorQuiet) {
  // What the picture libraries have to say is not the user's business,
  // whether the watermark draws or not.
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 64, 64);
  FIBITMAP* logo = FreeImage_Allocate(16, 8, 32);
  const struct {
    FREE_IMAGE_FORMAT format;
    const char* name;
  } kinds[] = {{FIF_TIFF, "logo.tif"}, {FIF_PNG, "logo.png"}, {FIF_BMP, "logo.bmp"}, {FIF_TARGA, "logo.tga"}};
  std::vector<std::string> pictures;
  for (const auto& kind : kinds) {
    std::string path = dir.File(kind.name);
    FIBITMAP* saved = kind.format == FIF_TIFF || kind.format == FIF_PNG ? logo : FreeImage_ConvertTo24Bits(logo);
    ASSERT_TRUE(FreeImage_Save(kind.format, saved, path.c_str(), 0)) << kind.name;
    if (saved != logo) FreeImage_Unload(saved);
    pictures.push_back(path);
    // Cut short after its header, as an interrupted copy leaves it.
    std::string cut = dir.File(std::string("cut-") + kind.name);
    e2e::WriteBytes(cut, e2e::ReadBytes(path).substr(0, 60));
    pictures.push_back(cut);
  }
  FreeImage_Unload(logo);
  std::string jpeg = e2e::ReadBytes(input);
  e2e::WriteBytes(dir.File("cut.jpg"), jpeg.substr(0, jpeg.size() / 2));
  pictures.push_back(dir.File("cut.jpg"));
  e2e::WriteBytes(dir.File("garbage.tif"), std::string("II*\0", 4) + std::string(200, '\x5a'));
  pictures.push_back(dir.File("garbage.tif"));

  for (const std::string& picture : pictures) {
    e2e::RunResult result = RunJpg2dds({"-i", input, "-o", dir.path(), "--wm-image=" + picture, "-q", "-d"});
    EXPECT_TRUE(result.err.empty()) << picture << " printed: " << result.err.substr(0, 300);
    ASSERT_FALSE(result.lines.empty()) << picture;
    EXPECT_EQ(result.lines.back(), "OK") << picture;
  }
}

TEST(HostileInput, LargeWatermarkCostsOnlyThePartThatShows) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address space limit";
#else
  // A black watermark of 16384 x 16384 (32 KiB as a 1-bit PNG, 1 GiB at 32
  // bits) on a 64 x 64 picture, in half a GiB of memory, comes out as one
  // of the picture's size does.
  TempDir dir;
  std::string input = dir.File("a.jpg");
  e2e::WriteJpeg(input, 64, 64);
  for (int side : {64, 16384}) {
    FIBITMAP* black = FreeImage_Allocate(side, side, 1);
    RGBQUAD* palette = FreeImage_GetPalette(black);
    palette[0] = RGBQUAD{0, 0, 0, 0};
    palette[1] = RGBQUAD{255, 255, 255, 0};
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, black, dir.File(std::to_string(side) + ".png").c_str(), 0));
    FreeImage_Unload(black);
  }
  std::string outputs[2];
  for (int i = 0; i < 2; ++i) {
    const std::string logo = dir.File(i == 0 ? "64.png" : "16384.png");
    e2e::RunResult result = RunJpg2dds({"-i", input, "-o", dir.path(), "--wm-image=" + logo,
                                        "--wm-image-position=topleft", "--wm-image-x-offset=0",
                                        "--wm-image-y-offset=0", "-q", "-d"},
                                       "", -1, {}, 512L << 20);
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(result.lines.back(), "OK") << logo;
    outputs[i] = e2e::ReadBytes(dir.File("a.dds"));
  }
  EXPECT_FALSE(outputs[0].empty());
  EXPECT_TRUE(outputs[0] == outputs[1]);
#endif
}

}  // namespace
