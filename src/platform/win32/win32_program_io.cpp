#include "platform/win32/win32_api.h"

#include <cstring>
#include <memory>
#include <string>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

namespace {

std::wstring ToUtf16(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string ToUtf8(const wchar_t* text) {
  int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

bool Usable(HANDLE h) { return h && h != INVALID_HANDLE_VALUE && ::GetFileType(h) != FILE_TYPE_UNKNOWN; }

bool WriteAll(HANDLE h, const char* data, size_t size) {
  while (size > 0) {
    DWORD chunk = size > 0x10000 ? 0x10000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(h, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

}  // namespace

std::string Win32ProgramIo::CommandLine() { return ToUtf8(::GetCommandLineW()); }

std::string Win32ProgramIo::FileVersion() {
  // Read from our own resources: the version functions would load version.dll for this alone.
  HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16));  // RT_VERSION
  if (!found) return {};
  HGLOBAL loaded = ::LoadResource(nullptr, found);
  const auto* data = loaded ? static_cast<const uint8_t*>(::LockResource(loaded)) : nullptr;
  DWORD size = ::SizeofResource(nullptr, found);
  if (!data) return {};
  // VS_FIXEDFILEINFO starts with its signature, 32-bit aligned after the block's key.
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, data + at, sizeof info);
    if (info.dwSignature != 0xFEEF04BD) continue;
    char text[48];
    wsprintfA(text, "%u.%u.%u.%u", HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
              HIWORD(info.dwFileVersionLS), LOWORD(info.dwFileVersionLS));
    return text;
  }
  return {};
}

// The console of the command prompt that started us, attached when the first write finds no
// standard handle of its own.
class Win32ProgramIo::Console {
 public:
  Console() {
    if (::AttachConsole(ATTACH_PARENT_PROCESS) || ::GetLastError() == ERROR_ACCESS_DENIED) {
      out_.Reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr));
    }
  }
  // Null when there is none.
  HANDLE Out() const { return out_ ? out_.Get() : nullptr; }

 private:
  win32::ScopedHandle out_;
};

Win32ProgramIo::Win32ProgramIo() = default;
Win32ProgramIo::~Win32ProgramIo() = default;

void* Win32ProgramIo::StreamHandle(StdStream stream) {
  HANDLE own = ::GetStdHandle(stream == StdStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (Usable(own)) return own;
  // A program of the windows subsystem gets no console; the one of the command prompt that
  // started us is borrowed, once, for both streams.
  if (!console_) console_ = std::make_unique<Console>();
  return console_->Out();
}

bool Win32ProgramIo::Write(StdStream stream, const std::string& utf8) {
  HANDLE h = StreamHandle(stream);
  if (!h) return false;
  DWORD mode = 0;
  if (::GetConsoleMode(h, &mode)) {
    // A console shows UTF-16 whatever its code page.
    std::wstring text = ToUtf16(utf8);
    const wchar_t* p = text.c_str();
    size_t left = text.size();
    while (left > 0) {
      DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
      DWORD written = 0;
      if (!::WriteConsoleW(h, p, chunk, &written, nullptr) || written == 0) return false;
      p += written;
      left -= written;
    }
    return true;
  }
  return WriteAll(h, utf8.data(), utf8.size());
}

WinError Win32ProgramIo::ReplaceFile(const std::string& utf8Path, const std::string& bytes) {
  const std::wstring target = ToUtf16(utf8Path);
  if (target.empty()) return WinError::PathNotFound;
  // Beside the target, so that the rename stays on one volume.
  const std::wstring temporary = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  DWORD error = ERROR_SUCCESS;
  {
    win32::ScopedHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return static_cast<WinError>(::GetLastError());
    if (!WriteAll(file.Get(), bytes.data(), bytes.size()) || !::FlushFileBuffers(file.Get()))
      error = ::GetLastError();
  }
  if (error == ERROR_SUCCESS &&
      !::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = ::GetLastError();
  if (error != ERROR_SUCCESS) {
    ::DeleteFileW(temporary.c_str());
    return static_cast<WinError>(error == ERROR_SUCCESS ? ERROR_GEN_FAILURE : error);
  }
  return WinError::Success;
}

}  // namespace vsi
