#include "platform/win32/win32_api.h"

#include <vector>

#include "platform/win32/win32_handles.h"
#include "platform/win32/win32_platform.h"

namespace vsi {

namespace {
WinError E(DWORD code) { return static_cast<WinError>(code); }
}  // namespace

uint32_t Win32Volumes::GetLogicalDrives() { return ::GetLogicalDrives(); }

uint32_t Win32Volumes::GetDriveType(const std::string& root) {
  return ::GetDriveTypeA(root.empty() ? nullptr : root.c_str());
}

bool Win32Volumes::GetVolumeInformation(const std::string& root, VolumeInformation& out) {
  char name[MAX_PATH + 1] = {}, fs[MAX_PATH + 1] = {};
  DWORD serial = 0, maxLength = 0, flags = 0;
  if (!::GetVolumeInformationA(root.c_str(), name, sizeof name, &serial, &maxLength, &flags, fs, sizeof fs)) {
    return false;
  }
  out.volumeName = name;
  out.serialNumber = serial;
  out.maximumComponentLength = maxLength;
  out.fileSystemFlags = flags;
  out.fileSystemName = fs;
  return true;
}

bool Win32Volumes::HasDiskFreeSpaceEx() {
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  return kernel && ::GetProcAddress(kernel, "GetDiskFreeSpaceExA") != nullptr;
}

bool Win32Volumes::GetDiskFreeSpaceEx(const std::string& root, DiskFreeSpace& out) {
  ULARGE_INTEGER available, total, free;
  if (!::GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free)) return false;
  out.freeBytesAvailable = available.QuadPart;
  out.totalBytes = total.QuadPart;
  out.totalFreeBytes = free.QuadPart;
  return true;
}

bool Win32Volumes::GetDiskFreeSpace(const std::string& root, DiskFreeSpaceClusters& out) {
  DWORD spc = 0, bps = 0, freeClusters = 0, totalClusters = 0;
  if (!::GetDiskFreeSpaceA(root.c_str(), &spc, &bps, &freeClusters, &totalClusters)) return false;
  out.sectorsPerCluster = spc;
  out.bytesPerSector = bps;
  out.freeClusters = freeClusters;
  out.totalClusters = totalClusters;
  return true;
}

uint32_t Win32Volumes::SetErrorMode(uint32_t mode) { return ::SetErrorMode(mode); }

WinError Win32Volumes::WNetGetConnection(const std::string& localName, std::string& remoteName) {
  std::vector<char> buf(MAX_PATH + 1);
  DWORD len = static_cast<DWORD>(buf.size());
  DWORD r = ::WNetGetConnectionA(localName.c_str(), buf.data(), &len);
  if (r == ERROR_MORE_DATA) {
    buf.resize(len);
    r = ::WNetGetConnectionA(localName.c_str(), buf.data(), &len);
  }
  if (r == NO_ERROR) remoteName = buf.data();
  return E(r);
}

WinError Win32Volumes::WNetGetUser(std::string& userName) {
  std::vector<char> buf(257);
  DWORD len = static_cast<DWORD>(buf.size());
  DWORD r = ::WNetGetUserA(nullptr, buf.data(), &len);
  if (r == ERROR_MORE_DATA) {
    buf.resize(len);
    r = ::WNetGetUserA(nullptr, buf.data(), &len);
  }
  if (r == NO_ERROR) userName = buf.data();
  return E(r);
}

uint32_t Win32Volumes::GetFileAttributes(const std::string& path) { return ::GetFileAttributesA(path.c_str()); }

bool Win32Volumes::SetVolumeLabel(const std::string& root, const std::string& label, uint32_t& lastError) {
  ::SetLastError(0);
  if (::SetVolumeLabelA(root.c_str(), label.c_str())) return true;
  lastError = ::GetLastError();
  return false;
}

WinError Win32Volumes::WNetEnumResources(uint32_t scope, std::vector<std::string>& remoteNames) {
  remoteNames.clear();
  win32::ScopedNetEnum h;
  const DWORD r = ::WNetOpenEnumA(scope, RESOURCETYPE_ANY, 0, nullptr, h.Receive());
  if (r != NO_ERROR) return E(r);
  std::vector<uint8_t> buf(16384);
  for (;;) {
    DWORD count = 1, size = static_cast<DWORD>(buf.size());
    DWORD e = ::WNetEnumResourceA(h.Get(), &count, buf.data(), &size);
    if (e == ERROR_MORE_DATA && size > buf.size()) {
      buf.resize(size);
      continue;
    }
    if (e != NO_ERROR || count == 0) break;
    const auto* res = reinterpret_cast<const NETRESOURCEA*>(buf.data());
    remoteNames.emplace_back(res->lpRemoteName ? res->lpRemoteName : "");
  }
  return WinError::Success;
}

}  // namespace vsi
