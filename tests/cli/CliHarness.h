#pragma once
#include <windows.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "main/UnixLink.h"

// varnox-cli.exe beside this test program, run as a script runs it: stdout and stderr redirected
// to files, the exit code taken from the process.
struct TCliResult {
  int ExitCode = -1;
  std::string Out; // UTF-8, as the program writes when redirected
  std::string Err;
};

inline std::wstring TestFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

inline std::string ReadBytes(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  ::CloseHandle(file);
  return bytes;
}

inline std::wstring FromUtf8(const std::string& bytes) {
  int size = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  std::wstring text(size_t(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), size);
  return text;
}

inline TCliResult RunCli(const std::wstring& arguments) {
  const std::wstring folder = TestFolder();
  // Fresh files for every run: a console host Wine starts beside the program may still hold the
  // last run's handles for a moment.
  static int runs = 0;
  const std::wstring run =
      std::to_wstring(::GetCurrentProcessId()) + L"_" + std::to_wstring(++runs);
  const std::wstring outPath = folder + L"cli_test_out_" + run + L".txt";
  const std::wstring errPath = folder + L"cli_test_err_" + run + L".txt";
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE out = ::CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = ::CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out;
  startup.hStdError = err;
  const std::wstring exe = folder + L"varnox-cli.exe";
  std::wstring command = L"\"" + exe + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  TCliResult result;
  if (::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &process)) {
    if (::WaitForSingleObject(process.hProcess, 300000) == WAIT_OBJECT_0) {
      DWORD code = 0;
      ::GetExitCodeProcess(process.hProcess, &code);
      result.ExitCode = int(code);
    } else {
      ::TerminateProcess(process.hProcess, 99);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(out);
  ::CloseHandle(err);
  result.Out = ReadBytes(outPath);
  result.Err = ReadBytes(errPath);
  ::DeleteFileW(outPath.c_str());
  ::DeleteFileW(errPath.c_str());
  return result;
}

// One file entry of the JSON document, as python3's json module read it.
struct TJsonFile {
  std::string Kind, User, Path, Status, Reason;
  unsigned long long Bytes = 0;
};

// The document parsed by python3's json module, a parser written by others: Verdict is "ok" when
// it parsed, every key is there with its type, and each total is the sum over the entries;
// otherwise what was wrong.
struct TJsonCheck {
  std::string Verdict;
  std::vector<std::string> Kinds;
  std::vector<TJsonFile> Files;
  std::map<std::string, std::string> Skipped; // kind -> reason
};

inline constexpr const char* kJsonChecker = R"(import json, sys
out = open(sys.argv[2], 'w', encoding='utf-8')
try:
    d = json.load(open(sys.argv[1], encoding='utf-8'))
    assert set(d) == {'command', 'version', 'kinds', 'skipped', 'interrupted', 'files', 'totals'}, sorted(d)
    assert all(isinstance(k, str) for k in d['kinds'])
    for f in d['files']:
        assert set(f) == {'kind', 'user', 'path', 'bytes', 'status', 'reason'}, sorted(f)
        assert isinstance(f['bytes'], int) and f['status'] in ('found', 'removed', 'left')
    t = d['totals']
    by = lambda s: [f for f in d['files'] if s is None or f['status'] == s]
    for key, status in (('files', None), ('removedFiles', 'removed'), ('leftFiles', 'left')):
        assert t[key] == len(by(status)), key
        assert t[key.replace('Files', 'Bytes').replace('files', 'bytes')] == sum(f['bytes'] for f in by(status)), key
    out.write('ok\n')
    out.write('\t'.join(d['kinds']) + '\n')
    for s in d['skipped']:
        out.write('skipped\t%s\t%s\n' % (s['kind'], s['reason']))
    for f in d['files']:
        out.write('\t'.join([f['status'], f['kind'], f['user'], f['path'], str(f['bytes']), f['reason']]) + '\n')
except Exception as e:
    out.write('bad: %r\n' % (e,))
out.close()
)";

inline std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> parts;
  std::stringstream in(line);
  std::string part;
  while (std::getline(in, part, '\t'))
    parts.push_back(part);
  if (!line.empty() && line.back() == '\t') parts.emplace_back();
  return parts;
}

inline TJsonCheck CheckJson(const std::string& document) {
  const std::wstring folder = TestFolder();
  const std::string base(folder.begin(), folder.end());
  std::ofstream(base + "cli_test_doc.json", std::ios::binary) << document;
  std::ofstream(base + "cli_test_check.py", std::ios::binary) << kJsonChecker;
  ::DeleteFileA((base + "cli_test_verdict.txt").c_str());
  std::string command = "/usr/bin/python3 '" + UnixPathOf(base + "cli_test_check.py") + "' '" +
                        UnixPathOf(base + "cli_test_doc.json") + "' '" +
                        UnixPathOf(base + "cli_test_verdict.txt") + "'";
  RunUnixShell(command);
  TJsonCheck check;
  // Wine may signal a Unix process's end before its output is on the disk.
  std::string verdict;
  for (int i = 0; i < 200; ++i) {
    verdict = ReadBytes(folder + L"cli_test_verdict.txt");
    if (!verdict.empty() && verdict.back() == '\n') break;
    ::Sleep(50);
  }
  std::stringstream lines(verdict);
  std::getline(lines, check.Verdict);
  std::string line;
  if (check.Verdict != "ok") return check;
  std::getline(lines, line);
  check.Kinds = SplitTabs(line);
  while (std::getline(lines, line)) {
    std::vector<std::string> parts = SplitTabs(line);
    if (parts.size() == 3 && parts[0] == "skipped")
      check.Skipped[parts[1]] = parts[2];
    else if (parts.size() == 6)
      check.Files.push_back(
          {parts[1], parts[2], parts[3], parts[0], parts[5], std::stoull(parts[4])});
  }
  return check;
}
