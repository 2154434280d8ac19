#pragma once
#include <optional>
#include <string>
#include <vector>

#include "main/CleaningKinds.h"

enum TCliCommand { ccHelp, ccVersion, ccList, ccPreview, ccClean };

struct TCliOptions {
  TCliCommand Command = ccHelp;
  // The ids given with --kinds; empty when none were given.
  std::optional<std::wstring> Kinds;
  bool Preset = false;
  bool Json = false;
  bool CloseBrowsers = false;
};

// The arguments after the program's name. Nothing, with a one-line reason in error, when they do
// not make a command: an unknown command or option, an option the command does not take, a
// missing or unknown kind, --kinds together with --preset.
std::optional<TCliOptions> ParseCommandLine(const std::vector<std::wstring>& arguments,
                                            std::wstring& error);

// The usage text of --help.
std::wstring UsageText();
