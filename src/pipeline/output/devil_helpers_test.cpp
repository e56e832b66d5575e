#include "pipeline/output/devil_helpers.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include "testing/test_pictures.h"

namespace jpg2dds {
namespace {

using testing::DefaultSettings;
using testing::JobFor;
using testing::MakePicture;
using testing::ReadBytes;
using testing::TempFolder;

FIBITMAP* Gradient(int width, int height, int bpp) {
  FIBITMAP* picture = MakePicture(width, height, [](int x, int y) {
    return static_cast<uint32_t>((x * 37 % 256) << 16 | (y * 11 % 256) << 8 | ((x ^ y) & 255));
  });
  FIBITMAP* converted = bpp == 32 ? FreeImage_ConvertTo32Bits(picture) : FreeImage_ConvertTo24Bits(picture);
  FreeImage_Unload(picture);
  return converted;
}

// The file written from a helper's data is the one WriteDdsFile writes, with
// the same result; 60 x 40 gives a file whose length DevIL's save misreports,
// a 24-bit picture is handed over converted, and pixels that are in shared
// memory already go as they are and stay the caller's.
TEST(DevilHelpers, WriteTheFileWriteDdsFileWrites) {
  struct Case {
    int width, height, bpp;
    bool shared;
  };
  const Case cases[] = {{1, 1, 32, false},     {7, 5, 32, false}, {60, 40, 32, false},
                        {301, 203, 32, false}, {33, 17, 24, false}, {301, 203, 32, true}};
  TempFolder folder;
  const ConversionSettings settings = DefaultSettings();
  DevilHelpers helpers;
  StartDevilHelpers(helpers, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + "x" + std::to_string(c.bpp));
    ConversionJob here = JobFor("/in/here.jpg", folder.path());
    FileResult hereResult;
    ASSERT_TRUE(WriteDdsFile(Gradient(c.width, c.height, c.bpp), settings, here, hereResult));

    FIBITMAP* picture = Gradient(c.width, c.height, c.bpp);
    SharedBlock pixels;
    if (c.shared) {
      const size_t size = size_t{4} * c.width * c.height;
      ASSERT_TRUE(MapSharedBlock(NewSharedMemoryFile(), size, true, pixels));
      std::memcpy(pixels.data, FreeImage_GetBits(picture), size);
      FreeImage_Unload(picture);
      picture = FreeImage_ConvertFromRawBitsEx(FALSE, pixels.data, FIT_BITMAP, c.width, c.height, c.width * 4, 32,
                                               FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    }
    const std::string sent(reinterpret_cast<const char*>(pixels.data), pixels.size);
    HelperDds made = MakeDdsInHelper(helpers, picture, pixels);
    ASSERT_EQ(made.state, HelperState::kMade);
    EXPECT_EQ(picture, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pixels.data), pixels.size), sent);
    ReleaseSharedBlock(pixels);
    ConversionJob apart = JobFor("/in/apart.jpg", folder.path());
    FileResult apartResult;
    ASSERT_TRUE(WriteMadeDds(made.outcome, made.bytes.data, made.bytes.size, made.width, made.height, settings,
                             apart, apartResult));
    ReleaseHelperDds(made);
    EXPECT_EQ(ReadBytes(folder.File("apart.dds")), ReadBytes(folder.File("here.dds")));
    EXPECT_EQ(apartResult.bytes, hereResult.bytes);
    EXPECT_STREQ(apartResult.format, hereResult.format);
    EXPECT_EQ(apart.outputWidth, here.outputWidth);
  }
  StopDevilHelpers(helpers);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"apart.dds", "here.dds"}));
}

// The DDS data a helper made, whole or joined from pieces.
std::string MadeBytes(const HelperDds& made) {
  if (made.bytes.data) return std::string(reinterpret_cast<const char*>(made.bytes.data), made.bytes.size);
  return made.joined;
}

using Maker = HelperDds (*)(DevilHelpers&, FIBITMAP*&);
HelperDds Whole(DevilHelpers& helpers, FIBITMAP*& picture) { return MakeDdsInHelper(helpers, picture); }
HelperDds InPieces(DevilHelpers& helpers, FIBITMAP*& picture) { return MakeDdsInPieces(helpers, picture); }

// A helper killed outright fails the picture it had (whole or a piece of
// it), is reaped and is replaced: the next picture is made.
TEST(DevilHelpers, KilledHelperFailsItsPictureAndIsReplaced) {
  for (Maker make : {Whole, InPieces}) {
    SCOPED_TRACE(make == Whole ? "whole" : "in pieces");
    DevilHelpers helpers;
    StartDevilHelpers(helpers, 1);
    ASSERT_EQ(helpers.idle.size(), 1u);
    const int killed = helpers.idle.front().pid;
    ASSERT_EQ(kill(killed, SIGKILL), 0);
    FIBITMAP* picture = Gradient(300, 260, 32);
    HelperDds made = make(helpers, picture);
    EXPECT_EQ(made.state, HelperState::kDied);
    EXPECT_EQ(picture, nullptr);
    ReleaseHelperDds(made);
    errno = 0;
    EXPECT_EQ(waitpid(killed, nullptr, WNOHANG), -1);  // reaped already: no zombie
    EXPECT_EQ(errno, ECHILD);
    ASSERT_EQ(helpers.live, 1);
    ASSERT_EQ(helpers.idle.size(), 1u);
    EXPECT_NE(helpers.idle.front().pid, killed);

    picture = Gradient(300, 260, 32);
    made = make(helpers, picture);
    EXPECT_EQ(made.state, HelperState::kMade);
    EXPECT_TRUE(made.outcome.saved);
    EXPECT_EQ(MadeBytes(made).substr(0, 4), "DDS ");
    ReleaseHelperDds(made);
    const int last = helpers.idle.front().pid;
    StopDevilHelpers(helpers);
    EXPECT_EQ(waitpid(last, nullptr, WNOHANG), -1);
  }
}

// Without helpers (none started, or the system gave none), and for pieces a
// picture too small to cut, the picture stays for the write in this process.
TEST(DevilHelpers, WithoutHelpersThePictureStays) {
  struct Case {
    Maker make;
    int helpers, width, height;
  };
  const Case cases[] = {{Whole, 0, 8, 8}, {InPieces, 0, 300, 260}, {InPieces, 1, 255, 256}};
  for (const Case& c : cases) {
    DevilHelpers helpers;
    StartDevilHelpers(helpers, c.helpers);
    FIBITMAP* picture = Gradient(c.width, c.height, 32);
    HelperDds made = c.make(helpers, picture);
    EXPECT_EQ(made.state, HelperState::kNotMade) << c.helpers << " helpers, " << c.width << "x" << c.height;
    ASSERT_NE(picture, nullptr);
    FreeImage_Unload(picture);
    EXPECT_EQ(helpers.idle.size(), static_cast<size_t>(c.helpers));
    StopDevilHelpers(helpers);
  }
}

}  // namespace
}  // namespace jpg2dds
