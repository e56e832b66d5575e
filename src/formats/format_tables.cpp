#include "formats/format_tables.h"

#include <algorithm>

#include "platform/paths.h"
#include "platform/text_case.h"
#include "settings/keywords.h"

namespace jpg2dds {

const InputFormat kInputFormatTable[] = {
    {"bmp", "bmp", "Windows or OS/2 Bitmap"},
    {"rle", "bmp", "Windows or OS/2 Bitmap"},
    {"dib", "bmp", "Windows or OS/2 Bitmap"},
    {"dds", "dds", "DirectDraw Surface File"},
    {"emf", "emf", "Enhanced Metafile Format"},
    {"emz", "emf", "Enhanced Metafile Format"},
    {"gif", "gif", "GIF File"},
    {"hdr", "hdr", "High Dynamic Range File"},
    {"hdri", "hdr", "High Dynamic Range File"},
    {"ico", "ico", "Windows Icon"},
    {"jpg", "jpg", "JPEG File"},
    {"jpeg", "jpg", "JPEG File"},
    {"jpe", "jpg", "JPEG File"},
    {"jif", "jpg", "JPEG File"},
    {"pcd", "pcd", "Kodak PhotoCD File"},
    {"pcd1", "pcd", "Kodak PhotoCD File"},
    {"pcds", "pcd", "Kodak PhotoCD File"},
    {"ppcd", "pcd", "Kodak PhotoCD File"},
    {"pcx", "pcx", "ZSoft Paintbrush File"},
    {"pic", "pic", "Macintosh PICT"},
    {"pict", "pic", "Macintosh PICT"},
    {"pct", "pic", "Macintosh PICT"},
    {"png", "png", "Portable Network Graphics"},
    {"psd", "psd", "Adobe Photoshop File"},
    {"tga", "tga", "Truevision Targa"},
    {"targa", "tga", "Truevision Targa"},
    {"tiff", "tiff", "Tagged Image File Format"},
    {"tif", "tiff", "Tagged Image File Format"},
    {"wmf", "wmf", "Windows Metafile Format"},
    {"wmz", "wmf", "Windows Metafile Format"},
    {"apm", "wmf", "Aldus Placeable Metafile"},
    {"raw", "raw", "Camera RAW Image"},
    {"raw1", "raw", "Camera RAW Image"},
    {"raw2", "raw", "Camera RAW Image"},
    {"3fr", "raw", "Hasselblad Camera RAW Image"},
    {"arw", "raw", "Sony Camera RAW Image"},
    {"sr2", "raw", "Sony Camera RAW Image"},
    {"srf", "raw", "Sony Camera RAW Image"},
    {"bay", "raw", "Casio Camera RAW Image"},
    {"bmq", "raw", "NuCore RAW Image"},
    {"cap", "raw", "Phase One Camera RAW Image"},
    {"iiq", "raw", "Phase One Camera RAW Image"},
    {"eip", "raw", "Phase One Camera RAW Image"},
    {"cine", "raw", "Phantom RAW Image"},
    {"cr2", "raw", "Canon Camera RAW Image"},
    {"crw", "raw", "Canon Camera RAW Image"},
    {"cs1", "raw", "Capture Shop RAW Image"},
    {"dc2", "raw", "Kodak Camera RAW Image"},
    {"dcr", "raw", "Kodak Camera RAW Image"},
    {"drf", "raw", "Kodak Camera RAW Image"},
    {"dsc", "raw", "Kodak Camera RAW Image"},
    {"k25", "raw", "Kodak Camera RAW Image"},
    {"kc2", "raw", "Kodak Camera RAW Image"},
    {"kdc", "raw", "Kodak Camera RAW Image"},
    {"dcs", "raw", "Kodak Camera RAW Image"},
    {"dng", "raw", "Adobe Digital Negative Image"},
    {"erf", "raw", "Epson Camera RAW Image"},
    {"fff", "raw", "Imacon Camera RAW Image"},
    {"ia", "raw", "Sinar RAW Image"},
    {"sti", "raw", "Sinar RAW Image"},
    {"mdc", "raw", "Minolta Camera RAW Image"},
    {"mrw", "raw", "Minolta Camera RAW Image"},
    {"mef", "raw", "Mamiya Camera RAW Image"},
    {"mos", "raw", "Mamiya Camera RAW Image"},
    {"nef", "raw", "Nikon Camera RAW Image"},
    {"nrw", "raw", "Nikon Camera RAW Image"},
    {"orf", "raw", "Olympus Camera RAW Image"},
    {"pef", "raw", "Pentax Camera RAW Image"},
    {"ptx", "raw", "Pentax Camera RAW Image"},
    {"pxn", "raw", "Logitech Camera RAW Image"},
    {"qtk", "raw", "Apple Quicktake Camera RAW Image"},
    {"raf", "raw", "Fuji Camera RAW Image"},
    {"rdc", "raw", "Digital Foto Maker RAW Image"},
    {"rw2", "raw", "Panasonic Camera RAW Image"},
    {"rwz", "raw", "Rawzor Camera RAW Image"},
    {"x3f", "raw", "Sigma Camera RAW Image"},
    {"ari", "raw", "ARRI RAW Image"},
    {"r3d", "raw", "RED RAW Image"},
    {"rwl", "raw", "Leica Camera RAW Image"},
};
const int kInputFormatCount = static_cast<int>(sizeof(kInputFormatTable) / sizeof(kInputFormatTable[0]));

const OutputFormat kOutputFormatTable[] = {
    {"bmp", 0, "Windows or OS/2 Bitmap", "1,4,8,16,24,32"},
    {"exr", 29, "ILM OpenEXR", "96"},
    {"gif", 25, "Graphics Interchange Format", "8"},
    {"hdr", 26, "High Dynamic Range Image", "96"},
    {"ico", 1, "Windows Icon", "1,4,8,16,24,32"},
    {"j2k", 30, "JPEG-2000 Codestream", "8,24,32,48"},
    {"jng", 3, "JPEG Network Graphics", "24,32"},
    {"jp2", 31, "JPEG-2000 File Format", "8,24,32,48"},
    {"jpg", 2, "JPEG File Format", "8,24"},
    {"jxr", 36, "JPEG XR Image Format", "1,8,16,24,32,48,96"},
    {"pbm", 7, "Portable Bitmap", "1"},
    {"pfm", 32, "Portable Floatmap", "96"},
    {"pgm", 11, "Portable Greymap", "8"},
    {"png", 13, "Portable Network Graphics", "1,4,8,24,32,48"},
    {"ppm", 14, "Portable Pixelmap", "24,48"},
    {"tga", 17, "Truevision Targa", "8,16,24,32"},
    {"tiff", 18, "Tagged Image File Format", "1,4,8,24,32,48,96"},
    {"wbmp", 19, "Wireless Bitmap", "1"},
    {"webp", 35, "Google WebP Image Format", "24,32"},
    {"xpm", 23, "X11 Pixmap Format", "24"},
    {"psd", 0x0439, "Adobe Photoshop", "32"},
    {"dds", 0x0437, "DirectDraw Surface", "32"},
    {"pcx", 0x0428, "ZSoft Paintbrush", "24"},
};
const int kOutputFormatCount = static_cast<int>(sizeof(kOutputFormatTable) / sizeof(kOutputFormatTable[0]));

const std::vector<std::string> kInputTypeList = {"jpg"};
const std::vector<std::string> kOutputTypeList = {"dds"};

std::vector<std::string> DeriveAcceptedExtensions() {
  std::vector<std::string> accepted;
  for (const std::string& type : kInputTypeList) {
    for (int i = 0; i < kInputFormatCount; ++i) {
      if (type == kInputFormatTable[i].formatName) accepted.push_back(kInputFormatTable[i].extension);
    }
  }
  if (accepted.empty()) accepted.push_back(std::string());
  return accepted;
}

bool IsAcceptedInputFile(const std::string& path, const std::vector<std::string>& accepted) {
  std::string ext = LowerCase(PathExtension(path));
  if (ext.empty()) return false;
  return std::find(accepted.begin(), accepted.end(), ext) != accepted.end();
}

bool IsAllowedOutputType(const std::string& formatName) {
  return std::find(kOutputTypeList.begin(), kOutputTypeList.end(), formatName) != kOutputTypeList.end();
}

const OutputFormat* FindOutputFormat(const std::string& formatName) {
  for (int i = 0; i < kOutputFormatCount; ++i) {
    if (formatName == kOutputFormatTable[i].formatName) return &kOutputFormatTable[i];
  }
  return nullptr;
}

std::vector<int32_t> AllowedBitDepths(const OutputFormat& format) {
  std::vector<int32_t> depths;
  const std::string list = format.bppList;
  size_t start = 0;
  for (int field = 0; field < 127; ++field) {
    const size_t comma = list.find(',', start);
    depths.push_back(ReadOptionInteger(list.substr(start, comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return depths;
}

bool IsAllowedBpp(const std::string& formatName, int32_t bpp) {
  if (bpp == 0) return true;
  const OutputFormat* format = FindOutputFormat(formatName);
  if (!format) return false;
  const std::vector<int32_t> depths = AllowedBitDepths(*format);
  return std::find(depths.begin(), depths.end(), bpp) != depths.end();
}

int32_t PickAutoBitDepth(const std::string& formatName, int32_t sourceBitDepth) {
  const OutputFormat* format = FindOutputFormat(formatName);
  if (!format) return 0;
  const std::vector<int32_t> depths = AllowedBitDepths(*format);
  for (int32_t depth : depths) {
    if (depth >= sourceBitDepth) return depth;
  }
  return depths.back();
}

}  // namespace jpg2dds
