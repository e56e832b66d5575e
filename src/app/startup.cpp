#include "app/startup.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <mutex>

#include "app/help_text.h"
#include "app/program_identity.h"
#include "app/run_options.h"
#include "batch/conversion_job.h"
#include "batch/run_conversion.h"
#include "options/option_name.h"
#include "options/parse_options.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "platform/instance_lock.h"
#include "platform/signals.h"
#include "platform/standard_streams.h"
#include "platform/text_case.h"
#include "settings/conversion_settings.h"
#include "texts/string_catalogue.h"

namespace jpg2dds {
namespace {

void InitImageLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    ilInit();
    iluInit();
  });
}

// The exit status that --exit-code asks for; without it the status is 0.
int ExitStatus(const ConversionSettings& settings, RunOutcome outcome) {
  if (!settings.exitCode) return 0;
  switch (outcome) {
    case RunOutcome::kComplete: return 0;
    case RunOutcome::kFailures: return 1;
    case RunOutcome::kStopped: return 2;
  }
  return 2;
}

// There is no windowed front end here: where it would take over, the help
// tells the user what to type instead.
void ShowHelpInsteadOfWindow(const std::string& title) {
  SetConsoleTitle(title);
  PrintHelp();
}

}  // namespace

int RunProgram(const std::vector<std::string>& args) {
  // Before DevIL, the lock or anything else opens a file or writes.
  EnsureStandardStreamsOpen();
  InstallProcessSignals();
  InitImageLibraries();
  const std::string title = FullTitle();
  // A second copy waits for the first and then runs, so that a script that
  // starts several conversions at once loses none of them. The kernel lets
  // the lock go when the process ends.
  InstanceLock lock = TakeInstanceLock(InstanceLockPath(title));
  (void)lock;
  InitTextLocale();

  if (args.empty()) {
    ShowHelpInsteadOfWindow(title);
    return 0;
  }

  ConversionSettings settings;
  RunOptions runOptions;
  ConversionJob job;
  StringCatalogue catalogue;
  InitConversionJob(job, ProgramFolder());
  ApplyDefaults(settings, DefaultsVariant::kConsole);
  LoadCatalogue(catalogue);

  const std::string mode = OptionName(args[0]);
  if (mode == "-U" || mode == "-T") return 0;  // windowed front end modes
  if (mode == "-V" || mode == "--VERSION") {
    SetConsoleTitle(title);
    PrintVersion();
    return 0;
  }
  if (mode == "-H" || mode == "-?" || mode == "--HELP") {
    SetConsoleTitle(title);
    PrintHelp();
    return 0;
  }

  const std::string error = ParseOptions(args, settings, runOptions);
  if (!error.empty()) {
    SetConsoleTitle(title);
    PrintLine("Error: " + error);
    // Only a pause or exit code option read before the failing one counts.
    if (runOptions.pause) WaitForKey();
    return ExitStatus(settings, RunOutcome::kStopped);
  }
  if (!runOptions.consoleRun) {
    ShowHelpInsteadOfWindow(title);
    return 0;
  }

  SetConsoleTitle(title);
  if (!runOptions.quiet) PrintBanner();
  const RunOutcome outcome = RunConversion(runOptions.quiet, runOptions, settings, job, catalogue);
  if (runOptions.pause) {
    PrintLine("Press any key to exit.");
    WaitForKey();
  }
  return ExitStatus(settings, outcome);
}

}  // namespace jpg2dds
