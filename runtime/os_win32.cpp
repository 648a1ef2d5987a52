// The process services' system calls on Windows: arguments from the UTF-16 command line, the
// program's directory from its module, file names in UTF-16 (kept as UTF-8 between the calls),
// standard streams in binary mode and console windows in UTF-8.
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <windows.h>
#include <shellapi.h>
#include <timeapi.h>

#include "runtime/internal/os.h"

namespace orvelt::os {

namespace {

// The console's code pages as they were before the start, for the console the program leaves.
UINT gOutputCodePage = 0;
UINT gInputCodePage = 0;
bool gPrepared = false;

Text FromWide(const wchar_t* wide) { return Text(reinterpret_cast<const char16_t*>(wide)); }

// UTF-8 to UTF-16, lone surrogates included (EncodeUtf8 writes them as three bytes), so that every
// text the user gave comes back unit for unit.
std::wstring Wide(const std::string& utf8) {
  std::wstring wide;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t code = length == 1 ? lead : length == 2 ? (lead & 0x1F) : length == 3 ? (lead & 0x0F) : (lead & 0x07);
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += length;
    if (code >= 0x10000) {
      code -= 0x10000;
      wide.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
      wide.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
    } else {
      wide.push_back(static_cast<wchar_t>(code));
    }
  }
  return wide;
}

std::string Utf8(const std::wstring& wide) { return EncodeUtf8(FromWide(wide.c_str())); }

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::vector<Text> Arguments(int argc, char** argv) {
  std::vector<Text> arguments;
  int count = 0;
  wchar_t** wide = argv == __argv ? CommandLineToArgvW(GetCommandLineW(), &count) : nullptr;
  if (wide) {
    for (int i = 0; i < count; ++i) arguments.push_back(FromWide(wide[i]));
    LocalFree(wide);
    return arguments;
  }
  for (int i = 0; i < argc; ++i) arguments.push_back(DecodeBytes(argv[i] ? argv[i] : ""));
  return arguments;
}

// A drive's root keeps its separator ("C:\").
std::string ProgramDirectory(const char*) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    if (path.size() > (1u << 16)) return std::string();
    path.resize(path.size() * 2);
  }
  std::size_t cut = path.find_last_of(L"\\/");
  if (cut == std::wstring::npos) return std::string();
  bool driveRoot = cut == 2 && path[1] == L':';
  return Utf8(path.substr(0, driveRoot || cut == 0 ? cut + 1 : cut));
}

std::string CurrentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return std::string();
  std::wstring path(size, L'\0');
  DWORD n = GetCurrentDirectoryW(size, path.data());
  if (n == 0 || n >= size) return std::string();
  path.resize(n);
  return Utf8(path);
}

bool ChangeDirectory(const std::string& path) { return SetCurrentDirectoryW(Wide(path).c_str()) != 0; }

// "\dir", "/dir", "\\server\share" and "C:\dir" (also "C:dir", which names a drive's own folder).
bool IsAbsolutePath(const Text& path) {
  if (path.empty()) return false;
  if (IsSeparator(path[0])) return true;
  bool letter = (path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z');
  return letter && path.size() >= 2 && path[1] == u':';
}

// Names are UTF-16 on disk, so the text is the only spelling.
std::vector<std::string> PathSpellings(const Text& path) { return {EncodeUtf8(path)}; }

bool IsRegularFile(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::FILE* OpenForReading(const std::string& path) { return _wfopen(Wide(path).c_str(), L"rb"); }

// Text mode would write every line end "\r\n" as "\r\r\n" and drop bytes on reading.
void PrepareProcess() {
  if (gPrepared) return;
  gPrepared = true;
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  gOutputCodePage = GetConsoleOutputCP();
  gInputCodePage = GetConsoleCP();
  if (gOutputCodePage != 0) SetConsoleOutputCP(CP_UTF8);
  if (gInputCodePage != 0) SetConsoleCP(CP_UTF8);
  timeBeginPeriod(1);
}

void RestoreProcessState() {
  if (!gPrepared) return;
  gPrepared = false;
  if (gOutputCodePage != 0) SetConsoleOutputCP(gOutputCodePage);
  if (gInputCodePage != 0) SetConsoleCP(gInputCodePage);
  timeEndPeriod(1);
}

}  // namespace orvelt::os
