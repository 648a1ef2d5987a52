// Running a built program from the Windows test suites: a child process with pipes for its three
// standard streams, started with CreateProcessW; and temporary folders.
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "runtime/text.h"
#include "tests/support/run.h"

namespace {

std::filesystem::path NativePath(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::wstring Wide(const std::string& utf8) {
  orvelt::Text text = orvelt::DecodeBytes(utf8);
  return std::wstring(text.begin(), text.end());
}

// Quotes an argument so that CommandLineToArgvW and the C runtime give it back unchanged:
// backslashes double only before a double quote or the closing quote.
std::wstring QuotedArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  for (size_t i = 0;; ++i) {
    size_t backslashes = 0;
    while (i < argument.size() && argument[i] == L'\\') {
      ++i;
      ++backslashes;
    }
    if (i == argument.size()) {
      quoted.append(backslashes * 2, L'\\');
      break;
    }
    if (argument[i] == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    quoted.push_back(argument[i]);
  }
  quoted.push_back(L'"');
  return quoted;
}

std::wstring CommandLine(const std::string& binary, const std::vector<std::string>& args) {
  std::wstring line = QuotedArgument(Wide(binary));
  for (const std::string& arg : args) line += L" " + QuotedArgument(Wide(arg));
  return line;
}

// The test's own environment with the extra variables: a block of NUL-terminated entries ending
// with an empty one. (DISPLAY means nothing to Windows; the test run leaves it out for Wine.)
std::wstring EnvironmentBlock(const RunOptions& options) {
  std::wstring block;
  wchar_t* own = GetEnvironmentStringsW();
  for (const wchar_t* entry = own; entry && *entry; entry += wcslen(entry) + 1) {
    std::wstring text(entry);
    std::wstring name = text.substr(0, text.find(L'=', 1));
    bool replaced = false;
    for (const auto& [extra, value] : options.env) replaced = replaced || Wide(extra) == name;
    if (!replaced) block += text + L'\0';
  }
  if (own) FreeEnvironmentStringsW(own);
  for (const auto& [name, value] : options.env) block += Wide(name) + L"=" + Wide(value) + L'\0';
  block.push_back(L'\0');
  return block;
}

struct Pipe {
  HANDLE read = nullptr;
  HANDLE write = nullptr;
};

// Both ends made; only the child's end is inherited.
Pipe MakePipe(bool childReads) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  Pipe pipe;
  if (!CreatePipe(&pipe.read, &pipe.write, &inherit, 0)) throw std::runtime_error("CreatePipe");
  SetHandleInformation(childReads ? pipe.write : pipe.read, HANDLE_FLAG_INHERIT, 0);
  return pipe;
}

void Drain(HANDLE from, std::string* into) {
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(from, buffer, sizeof buffer, &n, nullptr) && n > 0) into->append(buffer, n);
  CloseHandle(from);
}

void Feed(HANDLE to, const std::string& input) {
  size_t written = 0;
  while (written < input.size()) {
    DWORD n = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(input.size() - written, 1 << 16));
    if (!WriteFile(to, input.data() + written, chunk, &n, nullptr)) break;
    written += n;
  }
  CloseHandle(to);
}

}  // namespace

bool RunsWindowsPrograms() { return true; }

std::vector<std::string> ProgramCommand(const std::string& binary) { return {binary}; }

RunResult RunBinary(const std::string& binary, const std::vector<std::string>& args,
                    const RunOptions& options) {
  Pipe in = MakePipe(true), out = MakePipe(false), err = MakePipe(false);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.read;
  startup.hStdOutput = out.write;
  startup.hStdError = err.write;
  std::wstring commandLine = CommandLine(binary, args);
  std::wstring environment = EnvironmentBlock(options);
  std::wstring cwd = Wide(options.cwd);
  PROCESS_INFORMATION process{};
  // Under Wine a start can fail now and then while the Wine server is busy; a few more tries.
  BOOL started = FALSE;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    if (attempt > 0) Sleep(200);
    started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                             environment.data(), cwd.empty() ? nullptr : cwd.c_str(), &startup, &process);
  }
  const DWORD startError = started ? 0 : GetLastError();
  CloseHandle(in.read);
  CloseHandle(out.write);
  CloseHandle(err.write);
  RunResult result;
  if (!started) {
    for (HANDLE handle : {in.write, out.read, err.read}) CloseHandle(handle);
    result.err = "CreateProcessW failed with error " + std::to_string(startError);
    return result;
  }
  CloseHandle(process.hThread);
  std::thread feeder(Feed, in.write, options.input);
  std::thread outReader(Drain, out.read, &result.out);
  std::thread errReader(Drain, err.read, &result.err);
  if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(options.timeoutMs)) == WAIT_TIMEOUT) {
    result.timedOut = true;
    TerminateProcess(process.hProcess, 9);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  feeder.join();
  outReader.join();
  errReader.join();
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  // Statuses 0 to 255 as on POSIX; an exception code (a crash) as a negative number.
  result.status = code <= 255 ? static_cast<int>(code) : -static_cast<int>(code & 0x7FFFFFFF);
  return result;
}

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path candidate =
        std::filesystem::temp_directory_path() / ("orvelt-test-" + std::to_string(random() % 1000000000));
    std::error_code error;
    if (std::filesystem::create_directory(candidate, error)) {
      std::u8string utf8 = candidate.u8string();
      path_.assign(utf8.begin(), utf8.end());
      return;
    }
  }
  throw std::runtime_error("no temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(NativePath(path_), ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  std::string full = path_ + "/" + name;
  std::filesystem::path native = NativePath(full);
  std::filesystem::create_directories(native.parent_path());
  std::ofstream file(native, std::ios::binary);
  file << content;
  return full;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(NativePath(path), std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}
