#include "options/option_docs.h"

#include <cstring>

namespace jpg2dds {
namespace {

using V = TextValue;

constexpr const char kOpacity[] = "0 (invisible) to 255 (opaque); below 0 counts as 0, above 255 as 255";
// Plain text is drawn with the opacity as a colour's alpha byte.
constexpr const char kTextOpacity[] =
    "0 (invisible) to 255 (opaque); with --wm-text-antialiasing below 0 counts as 0 and above 255 as 255, "
    "without it only the low 8 bits count (256 is 0, -1 is 255)";
constexpr const char kTurnRange[] = "1 to 359 turn it; other values leave it as it is";
constexpr const char kColourRange[] = "six hexadecimal digits RRGGBB; any other text is black";

// The bit depth of an output format that this program does not write.
#define BPP_DOC(NAME, FORMAT)                                                                        \
  {NAME, "Bits per pixel of " FORMAT " output.", "bits per pixel", "0 (automatic) or a depth of the format", \
   nullptr, V::kText}

}  // namespace

const OptionDoc kOptionDocs[] = {
    {"--DDS-LOAD-AS", "How a DDS input is loaded.", nullptr, nullptr, nullptr, V::kText},
    {"--GIF-FRAME-LOADING", "Which frames of a GIF input are loaded.", nullptr, nullptr, nullptr, V::kText},
    {"--ICO-FRAME-LOADING", "Which images of an ICO input are loaded.", nullptr, nullptr, nullptr, V::kText},
    {"--PSD-COLOR-MODEL", "Colour model a PSD input is loaded in.", nullptr, nullptr, nullptr, V::kText},
    {"--RAW-LOAD-AS", "Bit depth a camera RAW input is loaded at.", nullptr, nullptr, nullptr, V::kText},
    {"--RAW-HEADER-SIZE", "Bytes before the pixels of a headerless raw input.", "bytes", nullptr, nullptr, V::kText},
    {"--RAW-WIDTH", "Width of a headerless raw input.", "pixels", nullptr, nullptr, V::kText},
    {"--RAW-HEIGHT", "Height of a headerless raw input.", "pixels", nullptr, nullptr, V::kText},
    {"--RAW-TONE-MAPPING", "Tone mapping of a high dynamic range input.", nullptr, nullptr, nullptr, V::kText},
    {"--TIFF-FRAME-LOADING", "Which pages of a TIFF input are loaded.", nullptr, nullptr, nullptr, V::kText},
    BPP_DOC("--BMP-BPP", "BMP"),
    {"--BMP-COMPRESSION", "Compression of BMP output.", nullptr, nullptr, nullptr, V::kText},
    {"--BMP-COLOR-TABLE", "Colour table of BMP output with a palette.", nullptr, nullptr, nullptr, V::kText},
    {"--DDS-BPP", "Bits per pixel of the DDS file; 0 picks the depth from the list of DDS depths, which is 32.",
     "bits per pixel", "0 or 32; other values stop the run with \"Error: Invalid dds-bpp value\"", nullptr, V::kText},
    {"--DDS-COMPRESSION",
     "How the DDS file is written: auto leaves it to DevIL (DXT1 blocks, DevIL's mipmaps); dxt1 (opaque), dxt5 "
     "(with alpha) and none (uncompressed 32-bit BGRA) use the built-in encoder, which filters the mipmaps in "
     "linear light on every processor core.",
     nullptr, nullptr, nullptr, V::kText},
    {"--DDS-QUALITY",
     "How hard the built-in encoder works on DXT1 and DXT5 blocks: normal compresses each 4 x 4 block in one "
     "quick pass (stb_dxt); best also fits the block's two end colours by cluster fit (libsquish) and searches "
     "around them, keeping whatever comes closest to the picture. On photos best's levels are about 0.9 dB "
     "closer (PSNR), never further, at 10 to 50 times the encoding time, the busier the photo the longer. The "
     "mipmaps and the file's layout are the same, and so are the bytes whatever the number of threads. It is "
     "ignored with --dds-compression=auto (DevIL writes the file) and none (no blocks).",
     nullptr, nullptr, nullptr, V::kText},
    BPP_DOC("--EXR-BPP", "EXR"),
    {"--EXR-COMPRESSION", "Compression of EXR output.", nullptr, nullptr, nullptr, V::kText},
    BPP_DOC("--GIF-BPP", "GIF"),
    BPP_DOC("--HDR-BPP", "HDR"),
    BPP_DOC("--ICO-BPP", "ICO"),
    BPP_DOC("--J2K-BPP", "J2K"),
    BPP_DOC("--JNG-BPP", "JNG"),
    BPP_DOC("--JP2-BPP", "JP2"),
    BPP_DOC("--JPG-BPP", "JPEG"),
    {"--JPG-QUALITY", "Quality of JPEG output.", nullptr, "1 to 100", nullptr, V::kText},
    {"--JPG-CHROMA", "Chroma subsampling of JPEG output.", nullptr, nullptr, nullptr, V::kText},
    {"--JPG-SAVE-AS", "Kind of JPEG file written.", nullptr, nullptr, nullptr, V::kText},
    BPP_DOC("--JXR-BPP", "JPEG XR"),
    BPP_DOC("--PBM-BPP", "PBM"),
    BPP_DOC("--PCX-BPP", "PCX"),
    BPP_DOC("--PFM-BPP", "PFM"),
    BPP_DOC("--PGM-BPP", "PGM"),
    BPP_DOC("--PNG-BPP", "PNG"),
    {"--PNG-COMPRESSION", "Compression of PNG output.", nullptr, nullptr, nullptr, V::kText},
    {"--PNG-INTERLACED", "Writes PNG output interlaced.", nullptr, nullptr, nullptr, V::kText},
    BPP_DOC("--PPM-BPP", "PPM"),
    BPP_DOC("--PSD-BPP", "PSD"),
    BPP_DOC("--TGA-BPP", "TGA"),
    {"--TGA-COMPRESSION", "Compression of TGA output.", nullptr, nullptr, nullptr, V::kText},
    BPP_DOC("--TIFF-BPP", "TIFF"),
    {"--TIFF-COMPRESSION", "Compression of TIFF output.", nullptr, nullptr, nullptr, V::kText},
    {"--TIFF-COLOR-MODEL", "Colour model of TIFF output.", nullptr, nullptr, nullptr, V::kText},
    BPP_DOC("--WBMP-BPP", "WBMP"),
    BPP_DOC("--WEBP-BPP", "WebP"),
    {"--WEBP-QUALITY", "Quality of WebP output.", nullptr, "1 to 100", nullptr, V::kText},
    BPP_DOC("--XPM-BPP", "XPM"),
    {"--ROTATION-TYPE",
     "How the picture is turned: simple enlarges the canvas to hold the whole turned picture and fills the "
     "uncovered corners with the --rotation-back-color; advanced turns it about its centre on a canvas of the "
     "same size.",
     nullptr, nullptr, nullptr, V::kText},
    {"--ROTATION", "Turns the picture counter-clockwise by this angle.", "degrees", kTurnRange, nullptr, V::kText},
    {"--ROTATION-BACK-COLOR", "Colour of the corners that a simple rotation uncovers.", nullptr, kColourRange,
     nullptr, V::kColour},
    {"--WIDTH",
     "Resizes the picture to this width; resizing needs --height as well.",
     "pixels, or per cent of the picture's width with --width-unit=percent",
     "not 0 (0 stops the run with \"Error: Invalid width value\"); a result below 1 leaves the picture unresized",
     nullptr, V::kText},
    {"--WIDTH-UNIT", "Unit of --width.", nullptr, nullptr, nullptr, V::kText},
    {"--HEIGHT",
     "Resizes the picture to this height; resizing needs --width as well.",
     "pixels, or per cent of the picture's height with --height-unit=percent",
     "not 0 (0 stops the run with \"Error: Invalid height value\"); a result below 1 leaves the picture "
     "unresized",
     nullptr, V::kText},
    {"--HEIGHT-UNIT", "Unit of --height.", nullptr, nullptr, nullptr, V::kText},
    {"--KEEP-ASPECT-RATIO",
     "Keeps the picture's proportions when resizing: the longer side takes its target size and the other side "
     "follows.",
     nullptr, nullptr, nullptr, V::kText},
    {"--RESIZE-TYPE",
     "Which pictures are resized: allimages resizes every picture, largeimages leaves one alone that is smaller "
     "than the target in both sides.",
     nullptr, nullptr, nullptr, V::kText},
    {"--RESIZE-ALGORITHM", "Filter with which the picture is resized.", nullptr, nullptr, nullptr, V::kText},
    {"--FLIP-HORIZONTAL", "Mirrors the picture left to right.", nullptr, nullptr, nullptr, V::kText},
    {"--FLIP-VERTICAL", "Mirrors the picture top to bottom.", nullptr, nullptr, nullptr, V::kText},
    {"--BRIGHTNESS", "Makes the picture brighter (positive) or darker (negative).", "per cent",
     "-100 to 100; other values stop the run with \"Error: Invalid brightness value\"", nullptr, V::kText},
    {"--CONTRAST", "Raises (positive) or lowers (negative) the picture's contrast.", "per cent",
     "-100 to 100; other values stop the run with \"Error: Invalid contrast value\"", nullptr, V::kText},
    {"--GAMMA", "Gamma correction: below 1 darkens the picture, above 1 brightens it.", nullptr,
     "0.01 to 9.99; other values stop the run with \"Error: Invalid gamma value\"", nullptr, V::kText},
    {"--INVERT", "Inverts the picture's colours, as in a negative.", nullptr, nullptr, nullptr, V::kText},
    {"--GREYSCALE", "Turns the picture grey.", nullptr, nullptr, nullptr, V::kText},
    {"--THRESHOLD", "Reduces the picture to black and white: pixels below this level turn black, the others white.",
     nullptr, "0 to 255 (only the low 8 bits count)", nullptr, V::kText},
    {"--FR-SOLID-LEFT", "Width of the frame's left band, drawn over the picture inside its border.", "pixels",
     nullptr, nullptr, V::kText},
    {"--FR-SOLID-RIGHT", "Width of the frame's right band.", "pixels", nullptr, nullptr, V::kText},
    {"--FR-SOLID-TOP", "Height of the frame's top band.", "pixels", nullptr, nullptr, V::kText},
    {"--FR-SOLID-BOTTOM", "Height of the frame's bottom band.", "pixels", nullptr, nullptr, V::kText},
    {"--FR-SOLID-LEFT-COLOR", "Colour of the left band.", nullptr, kColourRange, nullptr, V::kColour},
    {"--FR-SOLID-RIGHT-COLOR", "Colour of the right band.", nullptr, kColourRange, nullptr, V::kColour},
    {"--FR-SOLID-TOP-COLOR", "Colour of the top band.", nullptr, kColourRange, nullptr, V::kColour},
    {"--FR-SOLID-BOTTOM-COLOR", "Colour of the bottom band.", nullptr, kColourRange, nullptr, V::kColour},
    {"--FR-SOLID-OPACITY", "Opacity of the whole frame.", nullptr, kOpacity, nullptr, V::kText},
    {"--WM-TEXT",
     "Draws this text over the picture as its watermark; %eol% breaks a line, and the tokens of FILENAME MASK "
     "are replaced, in any case.",
     nullptr, nullptr, nullptr, V::kText},
    {"--WM-FONT",
     "Font of the text watermark; fontconfig picks the nearest font installed (Arial becomes Liberation Sans).",
     nullptr, nullptr, nullptr, V::kFont},
    {"--WM-FONT-SIZE", "Size of the watermark text.", "points, at 96 dots per inch", nullptr, nullptr, V::kText},
    {"--WM-FONT-LEADING", "Extra space between the lines of the watermark text.", "pixels", nullptr, nullptr,
     V::kText},
    {"--WM-FONT-COLOR", "Colour of the watermark text.", nullptr, kColourRange, nullptr, V::kColour},
    {"--WM-FONT-STYLE", "Style of the watermark text.", nullptr, nullptr, nullptr, V::kText},
    {"--WM-FONT-EFFECT", "Line drawn with the watermark text; strikethrought is spelled with a final t.", nullptr,
     nullptr, nullptr, V::kText},
    {"--WM-TEXT-ANTIALIASING", "Draws the watermark text with smoothed edges.", nullptr, nullptr, nullptr,
     V::kText},
    {"--WM-TEXT-ALIGNMENT", "Alignment of the lines within the text block.", nullptr, nullptr, nullptr, V::kText},
    {"--WM-TEXT-PADDING", "Background added around the text on each side.", "pixels", nullptr, nullptr, V::kText},
    {"--WM-TEXT-OPACITY", "Opacity of the watermark text.", nullptr, kTextOpacity, nullptr, V::kText},
    {"--WM-BACK-COLOR", "Colour of the block behind the watermark text.", nullptr, kColourRange, nullptr,
     V::kColour},
    {"--WM-BACK-OPACITY", "Opacity of the block behind the watermark text; the default 1 is all but invisible.",
     nullptr, kTextOpacity, nullptr, V::kText},
    {"--WM-TEXT-BOUNDARY",
     "Area the text is placed in: the whole picture, or the part inside the frame.", nullptr, nullptr, nullptr,
     V::kText},
    {"--WM-TEXT-POSITION", "Corner, edge or centre of the area the text is placed at.", nullptr, nullptr, nullptr,
     V::kText},
    {"--WM-TEXT-X-OFFSET", "Distance of the text from the left or right edge of its area; centred positions ignore it.",
     "pixels", nullptr, nullptr, V::kText},
    {"--WM-TEXT-Y-OFFSET", "Distance of the text from the top or bottom edge of its area; middle positions ignore it.",
     "pixels", nullptr, nullptr, V::kText},
    {"--WM-TEXT-ROTATION", "Turns the text block counter-clockwise by this angle.", "degrees", kTurnRange, nullptr,
     V::kText},
    {"--WM-TEXT-SIZE", "Accepted and reported, but without effect: the block has the natural size of its text.",
     nullptr, nullptr, nullptr, V::kText},
    {"--WM-IMAGE",
     "Lays this picture over the picture as its watermark, at its own size: a PNG, JPEG, BMP, TIFF, TGA, PSD, "
     "WebP, PNM or ICO file, told by its content; only a PNG keeps its transparency.",
     nullptr, nullptr, nullptr, V::kFile},
    {"--WM-IMAGE-GREYSCALE", "Turns the watermark picture grey.", nullptr, nullptr, nullptr, V::kText},
    {"--WM-IMAGE-OPACITY", "Opacity of the watermark picture.", nullptr, kOpacity, nullptr, V::kText},
    {"--WM-IMAGE-BOUNDARY", "Area the watermark picture is placed in: the whole picture, or the part inside the frame.",
     nullptr, nullptr, nullptr, V::kText},
    {"--WM-IMAGE-POSITION", "Corner, edge or centre of the area the watermark picture is placed at.", nullptr,
     nullptr, nullptr, V::kText},
    {"--WM-IMAGE-X-OFFSET",
     "Distance of the watermark picture from the left or right edge of its area; centred positions ignore it.",
     "pixels", nullptr, nullptr, V::kText},
    {"--WM-IMAGE-Y-OFFSET",
     "Distance of the watermark picture from the top or bottom edge of its area; middle positions ignore it.",
     "pixels", nullptr, nullptr, V::kText},
    {"--WM-IMAGE-ROTATION", "Turns the watermark picture counter-clockwise by this angle.", "degrees", kTurnRange,
     nullptr, V::kText},
    {"--WM-IMAGE-SIZE", "Accepted and reported, but without effect: the watermark keeps the size of its file.",
     nullptr, nullptr, nullptr, V::kText},
    {"--FILENAME-MASK", "Name of the output file, made from the tokens of FILENAME MASK.", nullptr, nullptr,
     nullptr, V::kMask},
    {"--FILE-TIMESTAMP",
     "Modification time of the output file: current keeps the time of writing, original copies the input's, "
     "custom sets the time of --file-timestamp-custom; see FILE TIMES.",
     nullptr, nullptr, nullptr, V::kText},
    {"--FILE-TIMESTAMP-CUSTOM", "The modification time that --file-timestamp=custom gives the output file.",
     "seconds since 1970-01-01 00:00:00 local time",
     "-2147483648 (1901-12-13 20:45:52) to 2147483647 (2038-01-19 03:14:07); a number beyond wraps around, as "
     "every NUM does: 2147483648 is -2147483648",
     "the time at which the run starts", V::kText},
    {"--INPUT-FOLDER",
     "Converts every JPEG file directly in FOLDER (with --recursive, in its subfolders too), walked in byte order "
     "of the names, depth first; links to folders are not followed. A relative folder is taken from the current "
     "directory. Without -o the output goes below FOLDER, each file into the subfolder it came from.",
     nullptr, nullptr, nullptr, V::kFolder},
    {"--INPUT-LIST",
     "Converts the JPEG files named in FILE, one path a line (UTF-8); blank lines and lines beginning with # are "
     "skipped, paths that name no JPEG file of at least 1 byte are counted out. - reads the list from standard "
     "input. Without -o each file's output goes into that file's own folder.",
     nullptr, "a regular file, a pipe or -, of at most 64 MiB", nullptr, V::kFile},
    {"--RECURSIVE", "Also converts the files in the subfolders of every --input-folder.", nullptr, nullptr, nullptr,
     V::kText},
    {"--THREADS",
     "How many threads the run works with: files are read and edited side by side and written one after another "
     "in input order, so the files, their names and the lines printed do not depend on it; 1 converts one file at "
     "a time. 0 means one thread for each processor core.",
     "threads", "0 to 256; other values stop the run with \"Error: Invalid threads value\"", nullptr, V::kText},
    {"--REPORT",
     "Writes a report of the run to FILE for scripts, in JSON Lines: one object per input in input order, each "
     "written whole as soon as its input is done, then a summary object; see SCRIPTS AND PIPELINES. An existing "
     "FILE is emptied first. A relative name is taken from the current directory. A FILE that cannot be created "
     "stops the run before anything is converted with \"Error: Invalid report file\".",
     nullptr, nullptr, nullptr, V::kFile},
    {"--EXIT-CODE",
     "The exit status tells how the run went: 0 when every input was converted or skipped, 1 when any input or "
     "folder failed or a line of the report could not be written, 2 when an \"Error: \" line stopped the run "
     "before converting; see EXIT STATUS.",
     nullptr, nullptr, nullptr, V::kText},
    {"--SKIP-UP-TO-DATE",
     "Skips an input whose output file exists and is not older than the input, to the whole second, as make "
     "decides: nothing is decoded or written, and the output name counts as taken in this run. The output names "
     "must be known before converting: a filename mask with %width%, %height%, %n%, %rnd% or a date or time "
     "token, or --file-timestamp=custom, stops the run with \"Error: --skip-up-to-date needs output names and "
     "file times known before converting\".",
     nullptr, nullptr, nullptr, V::kText},
    {"--NO-SUBFOLDERS",
     "Writes every output file straight into the output folder, not into the subfolder below it that matches "
     "the input's; a single input file has no such subfolder.",
     nullptr, nullptr, nullptr, V::kText},
};

#undef BPP_DOC

const int kOptionDocCount = static_cast<int>(sizeof(kOptionDocs) / sizeof(kOptionDocs[0]));

const OptionDoc* FindOptionDoc(const char* name) {
  for (int i = 0; i < kOptionDocCount; ++i) {
    if (std::strcmp(kOptionDocs[i].name, name) == 0) return &kOptionDocs[i];
  }
  return nullptr;
}

const OptionGroupDoc kOptionGroupDocs[] = {
    {"Input", "Input formats",
     "Loading options of picture formats other than JPEG. This program reads only JPEG: it accepts, stores and "
     "reports these options, but no conversion uses them."},
    {"Output", "Output formats",
     "Of these, only --dds-bpp, --dds-compression and --dds-quality take part in a conversion; the options of the other formats "
     "are accepted and stored, but have no effect."},
    {"Transform", "Rotating, resizing and flipping",
     "Applied in this order, after the picture has been turned upright by its EXIF orientation."},
    {"Adjustment", "Colours",
     "Brightness, contrast, gamma and inversion are applied together, then greyscale, then the threshold."},
    {"Frame", "Solid frame",
     "A frame of four bands is drawn over the picture inside its border, in mitred corners; the picture keeps "
     "its size. Giving any of the four widths switches the frame on."},
    {"Watermark", "Watermark",
     "One watermark per picture: --wm-text chooses a text watermark and --wm-image a picture watermark; the one "
     "given last wins. The watermark is drawn after the frame."},
    {"Advanced", "Output file", nullptr},
    {kBatchInputsGroup, "Batch runs",
     "Folders and lists of pictures, converted in one run, and the threads a run works with. The inputs may be "
     "given more than once, also in profiles, and together with -i: every file named is converted once, in the "
     "order named, -i taking its place among them."},
};

namespace {

// Settings of group Advanced that shape a run rather than its output files.
constexpr const char* kBatchRunRows[] = {"--RECURSIVE", "--THREADS"};

}  // namespace

const char* DocumentedGroup(const OptionRow& row) {
  if (!row.group) return kBatchInputsGroup;
  for (const char* name : kBatchRunRows) {
    if (std::strcmp(row.name, name) == 0) return kBatchInputsGroup;
  }
  return row.group;
}

const int kOptionGroupDocCount = static_cast<int>(sizeof(kOptionGroupDocs) / sizeof(kOptionGroupDocs[0]));

const OptionGroupDoc* FindOptionGroupDoc(const char* group) {
  for (int i = 0; i < kOptionGroupDocCount; ++i) {
    if (std::strcmp(kOptionGroupDocs[i].group, group) == 0) return &kOptionGroupDocs[i];
  }
  return nullptr;
}

const CommandOptionDoc kCommandOptionDocs[] = {
    {{"-I", nullptr}, "--INPUT", CommandOptionKind::kRunValue, V::kFile,
     "The JPEG picture to convert; its name must end in .jpg, .jpeg, .jpe or .jif (in any case). A relative name "
     "is taken from the current directory. Without -i, --input-folder or --input-list nothing is converted and the "
     "help is printed."},
    {{"-O", nullptr}, "--OUTPUT", CommandOptionKind::kRunValue, V::kFolder,
     "The folder the DDS file is written to; it must exist. A relative folder is taken relative to the folder "
     "that holds the jpg2dds program, not the current directory, and one beginning with .. is refused. "
     "Default: the folder of the -i picture as named (relative to the program's folder like -o, the program's "
     "folder itself when the picture is named without one); the files of an --input-folder go below that "
     "folder, those of an --input-list into their own folders."},
    {{"-C", nullptr}, "--CONVERSION", CommandOptionKind::kRunValue, V::kOutputType,
     "The output type; only dds, in lower case, is accepted."},
    {{"-D", nullptr}, "--DEBUG", CommandOptionKind::kModeFlag, V::kText,
     "Prints the settings report before converting and a line for each file."},
    {{"-Q", nullptr}, "--QUIET", CommandOptionKind::kModeFlag, V::kText,
     "Prints no banner and no status lines: only error lines, and the message of a run that found nothing to "
     "convert."},
    {{"-P", nullptr}, "--PAUSE", CommandOptionKind::kModeFlag, V::kText,
     "Waits for a key press on the terminal before ending; without a terminal it does not wait."},
    {{nullptr, nullptr}, "--PROFILE", CommandOptionKind::kProfile, V::kFile,
     "Applies the settings of a profile file at this place among the options; see PROFILE FILES. It may be given "
     "several times."},
    {{"-H", "-?"}, "--HELP", CommandOptionKind::kFirstArgument, V::kText,
     "Prints the help and ends; only as the first argument."},
    {{"-V", nullptr}, "--VERSION", CommandOptionKind::kFirstArgument, V::kText,
     "Prints the version and ends; only as the first argument."},
};

const int kCommandOptionDocCount = static_cast<int>(sizeof(kCommandOptionDocs) / sizeof(kCommandOptionDocs[0]));

const char* ValuePlaceholder(TextValue value) {
  switch (value) {
    case TextValue::kText: return "TEXT";
    case TextValue::kColour: return "RRGGBB";
    case TextValue::kFile: return "FILE";
    case TextValue::kFolder: return "FOLDER";
    case TextValue::kFont: return "FONT";
    case TextValue::kMask: return "MASK";
    case TextValue::kOutputType: return "TYPE";
  }
  return "TEXT";
}

const char* ValuePlaceholder(const OptionRow& row, const OptionDoc& doc) {
  switch (row.kind) {
    case OptionKind::kKeyword: return "WORD";
    case OptionKind::kInteger:
    case OptionKind::kReal: return "NUM";
    case OptionKind::kText:
    case OptionKind::kTextUnquoted: return ValuePlaceholder(doc.textValue);
    case OptionKind::kFlag: return "";
    case OptionKind::kBatchInput: return ValuePlaceholder(doc.textValue);
  }
  return "";
}

}  // namespace jpg2dds
