#include "texts/catalogue_data.h"

namespace jpg2dds {

// Only the groups the console program uses; the windowed front end's groups
// have no user on this platform.
const char* const kCatalogueData[] = {
    "_GROUP_", "General",
    "Input File", "Input File:",
    "Input Files", "Input Files:",
    "Filename", "Filename",
    "Output Folder", "Output Folder:",
    "Output Format", "Output Format:",
    "Convert", "Convert",
    "Ready", "Ready",
    "Preparing", "Preparing...",
    "Importing", "Importing...",
    "Converting", "Converting...",

    "_GROUP_", "Msg",
    "Error", "Error",
    "Warning", "Warning",
    "Insufficient memory", "Insufficient Memory",
    "Unable to open file", "Unable to open the file: %s1%!",
    "Unable to save file", "Unable to save the file: %s1%!",
    "Empty input files", "No input file(s) found. Please, add valid file(s) and try again!",
    "Empty input folder",
    "The input folder's field is empty. Please, check the existed input folder and try again!",
    "Invalid input folder",
    "The following input folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
    "Please, correct the input path and try again!",
    "Empty output folder",
    "The output folder's field is empty. Please, select existed output folder and try again!",
    "Invalid output folder",
    "The following output folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
    "Please, correct the output path and try again!",
    "Invalid width", "Invalid resize width value!",
    "Invalid height", "Invalid resize height value!",
    "Invalid conversion type", "Invalid conversion type!",
    "Invalid watermark font", "Unable to load selected font for a watermark: %s1%",
    "Empty watermark image", "Selected watermark image is invalid/empty!",
    "Invalid watermark image", "Unable to load selected file as a watermark image: %s1%",
    "Import complete", "Import complete, new files added: %s1%",
    "Import is not complete", "Import stopped",
    "Export complete", "Export complete, entries saved: %s1%",
    "Export is not complete", "Export stopped",
    "Conversion complete", "Conversion complete",
    "Conversion is not complete", "Conversion stopped",
    "Progress", "(%s1%/%s2%)",
    "Files converted", "Files converted: %s1% of %s2%",
    "New Update", "New Update",
    "New Update Text",
    "A new version of Brightmill JPG to DDS is available! Are you ready to download it right now?",
    "No Update", "No Update",
    "No Update Text",
    "There is no update of Brightmill JPG to DDS yet. You're using the most recent version.",
    "Check for Updates", "Check for Updates",
    "Ask check for updates", "Do you want to check for updates?",
    "Reset to Defaults", "Reset to Defaults",
    "Ask reset to defaults", "Are you sure you want to reset all your settings to the default values?",
    "Internet connection problems", "Internet connection problems!",
    "Ask overwrite file", "The file already exist. Do you want to overwrite it?",
    "Clean recent files", "Clean Recent Files",
    "Ask clean recent files", "Do you want to clean the recent files list?",
    "Ask continue to find",
    "No matches of %s1% found!\r\n\r\nDo you want to search from the start of the list?",
    "Ask break import", "Do you want to break the import?",
    "Ask break export", "Do you want to break the export?",
    "Ask break conversion", "Do you want to break the conversion?",
    "Empty extensions", "Please, fill all required fields and try again!",

    // The console's own batch inputs; printed after "Error: ".
    "_GROUP_", "Batch",
    "Invalid input folder", "Invalid input folder",
    "Invalid input list", "Invalid input list",
    "Invalid threads value", "Invalid threads value",
    "Unreadable folder", "Unreadable folder: %s1%",

    "_END_", "",
};

}  // namespace jpg2dds
