#include "pipeline/output/devil_pieces.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <algorithm>

#include "encoder/dds_format.h"
#include "settings/keywords.h"

namespace jpg2dds {
namespace {

// Rows DevIL is given at a time for level 0: its copies of them (the
// texture, the rows turned top first, 16-bit colours) stay a few megabytes.
constexpr uint32_t kBandRows = 256;

// Levels 1 and down, with the mipmaps they need and the joining of the
// pieces, take the converter about as long as this share of level 0 takes
// a helper (measured on photos of 13 and 17 megapixels).
constexpr double kLowerLevelsShare = 0.42;

const DdsFormat& Dxt1() { return *FindDdsFormat(choice::kDdsDxt1); }

void ClearErrors() {
  while (ilGetError() != IL_NO_ERROR) {
  }
}

// Bytes of the DXT1 file of a picture and its levels.
size_t FileBytes(uint32_t width, uint32_t height, bool mipmaps) {
  size_t bytes = kDdsHeaderBytes;
  for (const LevelSize& level : MipChain(static_cast<int>(width), static_cast<int>(height))) {
    bytes += DdsLevelBytes(Dxt1(), level.width, level.height);
    if (!mipmaps) break;
  }
  return bytes;
}

// Saves the bound image as DDS and appends what follows the header.
void AppendSave(uint32_t width, uint32_t height, bool mipmaps, DevilDdsOutcome& made, std::string& out) {
  // Saved straight behind what `out` holds, with room for more than the
  // file needs: a save that writes past its room fails instead of being cut
  // short, and the length is checked below.
  const size_t bytes = FileBytes(width, height, mipmaps);
  const size_t at = out.size();
  out.resize(at + bytes + 64);
  ClearErrors();
  ilSaveL(IL_DDS, &out[at], static_cast<ILuint>(bytes + 64));
  const ILenum error = ilGetError();
  made.outOfMemory = made.outOfMemory || error == IL_OUT_OF_MEMORY;
  made.saved = error == IL_NO_ERROR && ilGetLumpPos() == bytes;
  out.erase(at, kDdsHeaderBytes);
  out.resize(at + bytes - kDdsHeaderBytes);
}

// A fresh image bound as the current one, holding the pixels.
ILuint TextureOf(const uint8_t* pixels, uint32_t width, uint32_t height, bool& taken) {
  ILuint image = 0;
  ilGenImages(1, &image);
  ilBindImage(image);
  const ILubyte depth = static_cast<ILubyte>(ilGetInteger(IL_IMAGE_DEPTH));
  taken = ilTexImage(width, height, depth, 4, IL_BGRA, IL_UNSIGNED_BYTE, const_cast<uint8_t*>(pixels)) == IL_TRUE;
  return image;
}

}  // namespace

bool WorthCutting(uint32_t width, uint32_t height) {
  return height >= 8 && uint64_t{width} * height >= uint64_t{256} * 256;
}

bool DevilWritesDxt1() { return ilGetInteger(IL_DXTC_FORMAT) == IL_DXT1; }

std::vector<uint32_t> HelperBands(uint32_t height, int helpers) {
  std::vector<uint32_t> bands;
  if (helpers < 1 || height < 5) return bands;
  // Each helper's band takes share x level 0; the converter's rows take
  // (1 - helpers x share) plus the lower levels: equal when share is this.
  // Many helpers leave the converter its lower levels and a few rows.
  const double share = (1.0 + kLowerLevelsShare) / (helpers + 1);
  const uint32_t most = (height - 1) / static_cast<uint32_t>(helpers) / 4 * 4;
  const uint32_t band = std::max<uint32_t>(4, std::min(most, static_cast<uint32_t>(height * share) / 4 * 4));
  for (int i = 0; i < helpers; ++i) {
    const uint32_t taken = band * static_cast<uint32_t>(bands.size());
    if (taken + band >= height) break;
    bands.push_back(band);
  }
  return bands;
}

DevilDdsOutcome AppendLevelZeroRows(const uint8_t* pixels, uint32_t width, uint32_t rows, std::string& out) {
  DevilDdsOutcome made;
  made.texture = made.mipmaps = made.saved = true;
  made.dxt1 = DevilWritesDxt1();
  const size_t pitch = size_t{width} * 4;
  // Room for all of it at once: a string that grows leaves gaps between
  // the pictures' blocks.
  out.reserve(out.size() + DdsLevelBytes(Dxt1(), static_cast<int>(width), static_cast<int>(rows)) + 64);
  // From the top down: the top rows are the last in memory.
  for (uint32_t done = 0; done < rows && made.saved;) {
    const uint32_t band = std::min(kBandRows, rows - done);
    bool taken = false;
    ILuint image = TextureOf(pixels + pitch * (rows - done - band), width, band, taken);
    if (taken) {
      AppendSave(width, band, false, made, out);
    } else {
      made.texture = made.saved = false;
      made.outOfMemory = true;
    }
    ilDeleteImages(1, &image);
    done += band;
  }
  ClearErrors();
  return made;
}

bool TakeIntoDevil(const uint8_t* pixels, uint32_t width, uint32_t height, DevilPicture& picture) {
  bool taken = false;
  picture.image = TextureOf(pixels, width, height, taken);
  if (!taken) {
    ReleaseDevilPicture(picture);
    return false;
  }
  picture.pixels = ilGetData();
  picture.width = width;
  picture.height = height;
  return true;
}

void ReleaseDevilPicture(DevilPicture& picture) {
  if (picture.image != 0) ilDeleteImages(1, &picture.image);
  picture = DevilPicture{};
}

DevilDdsOutcome AppendLowerLevels(DevilPicture& picture, std::string& out) {
  DevilDdsOutcome made;
  made.dxt1 = DevilWritesDxt1();
  made.texture = picture.image != 0;
  std::vector<uint8_t> level1;
  uint32_t width1 = 0, height1 = 0;
  ILint origin = 0;
  if (made.texture) {
    ilBindImage(picture.image);
    made.mipmaps = iluBuildMipmaps() == IL_TRUE && ilActiveMipmap(1) == IL_TRUE;
  }
  if (made.mipmaps) {
    width1 = static_cast<uint32_t>(ilGetInteger(IL_IMAGE_WIDTH));
    height1 = static_cast<uint32_t>(ilGetInteger(IL_IMAGE_HEIGHT));
    origin = ilGetInteger(IL_IMAGE_ORIGIN);
    const uint8_t* data = ilGetData();
    level1.assign(data, data + size_t{width1} * height1 * 4);
    ilBindImage(picture.image);
  }
  ReleaseDevilPicture(picture);
  if (made.mipmaps) {
    out.reserve(out.size() + FileBytes(width1, height1, true) + 64);
    bool taken = false;
    ILuint lower = TextureOf(level1.data(), width1, height1, taken);
    std::vector<uint8_t>().swap(level1);
    if (taken) ilRegisterOrigin(static_cast<ILenum>(origin));
    made.mipmaps = taken && iluBuildMipmaps() == IL_TRUE;
    if (made.mipmaps) AppendSave(width1, height1, true, made, out);
    ilDeleteImages(1, &lower);
  }
  ClearErrors();
  return made;
}

std::string WholeDxt1Header(uint32_t width, uint32_t height) {
  const int levels = static_cast<int>(MipChain(static_cast<int>(width), static_cast<int>(height)).size());
  return DdsFileHeader(Dxt1(), static_cast<int>(width), static_cast<int>(height), levels);
}

DevilDdsOutcome JoinOutcomes(const DevilDdsOutcome& a, const DevilDdsOutcome& b) {
  DevilDdsOutcome made;
  made.texture = a.texture && b.texture;
  made.mipmaps = made.texture && a.mipmaps && b.mipmaps;
  made.saved = made.mipmaps && a.saved && b.saved;
  made.outOfMemory = a.outOfMemory || b.outOfMemory;
  made.dxt1 = a.dxt1 && b.dxt1;
  return made;
}

}  // namespace jpg2dds
