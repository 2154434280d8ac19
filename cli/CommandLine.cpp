#include "cli/CommandLine.h"

std::optional<TCliOptions> ParseCommandLine(const std::vector<std::wstring>& arguments,
                                            std::wstring& error) {
  TCliOptions options;
  if (arguments.empty()) {
    error = L"no command given";
    return std::nullopt;
  }
  const std::wstring& command = arguments[0];
  if (command == L"--help" || command == L"-h" || command == L"/?" || command == L"help")
    options.Command = ccHelp;
  else if (command == L"--version")
    options.Command = ccVersion;
  else if (command == L"list")
    options.Command = ccList;
  else if (command == L"preview")
    options.Command = ccPreview;
  else if (command == L"clean")
    options.Command = ccClean;
  else {
    error = L"unknown command \"" + command + L"\"";
    return std::nullopt;
  }
  const bool runs = options.Command == ccPreview || options.Command == ccClean;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    if (argument == L"--json" && (runs || options.Command == ccList)) {
      options.Json = true;
    } else if (argument == L"--preset" && runs) {
      options.Preset = true;
    } else if (argument == L"--close-browsers" && options.Command == ccClean) {
      options.CloseBrowsers = true;
    } else if (argument == L"--kinds" && runs) {
      if (i + 1 == arguments.size()) {
        error = L"--kinds needs a list of kinds, such as --kinds temp,chrome";
        return std::nullopt;
      }
      options.Kinds = arguments[++i];
      // An empty list would clean nothing while looking like it ran: a script's mistake.
      if (options.Kinds->empty() || !ParseKindList(*options.Kinds)) {
        error = L"unknown kind in \"" + *options.Kinds + L"\" (see the list command)";
        return std::nullopt;
      }
    } else {
      error = L"\"" + argument + L"\" is not an option of " + command;
      return std::nullopt;
    }
  }
  if (options.Kinds && options.Preset) {
    error = L"--kinds and --preset cannot be given together";
    return std::nullopt;
  }
  return options;
}

std::wstring UsageText() {
  return L"Usage: varnox-cli <command> [options]\n"
         L"\n"
         L"Commands:\n"
         L"  list [--json]          the kinds of junk, their ids and whether each is ticked\n"
         L"                         at start\n"
         L"  preview [options]      lists every file that clean would remove; removes nothing\n"
         L"  clean [options]        overwrites and removes the files found, as the window does\n"
         L"  --help                 this text\n"
         L"  --version              the program's version\n"
         L"\n"
         L"Options of preview and clean:\n"
         L"  --kinds a,b,...        the kinds to search (ids from list); without it and\n"
         L"                         without --preset, the kinds ticked when the window first\n"
         L"                         starts\n"
         L"  --preset               the kinds ticked at the window's last \"Find\"\n"
         L"  --json                 one JSON document on stdout instead of text\n"
         L"  --close-browsers       (clean only) ends a running browser whose kind is asked\n"
         L"                         for; without it such a kind is skipped\n"
         L"\n"
         L"Exit codes: 0 everything asked for was removed (or listed), 1 some files or kinds\n"
         L"were left (reasons printed), 2 bad usage, 3 another Varnox run is scanning or\n"
         L"cleaning.\n";
}
