#pragma once
// TAVTools: host facts collected once, when the component is made (directories, host name,
// user, serial of C:, a one-line OS description) or, for the addresses, when first read; plus
// the live CPU usage text.
#include <mutex>

#include "framework/component.h"
#include "platform/system.h"

namespace vsi {

class TAVTools : public TComponent {
  VSI_CLASS(TAVTools)
  explicit TAVTools(TComponent* owner);

  const AnsiString& dirWindows() const { return dirWindows_; }
  const AnsiString& dirWinSys() const { return dirWinSys_; }
  const AnsiString& dirTemp() const { return dirTemp_; }
  const AnsiString& Version() const { return version_; }
  const AnsiString& MachineName() const { return machineName_; }
  const AnsiString& UserName() const { return userName_; }
  // Resolved when first read, and only then: a slow or unreachable name server must not hold
  // up the window, which never shows them. Safe to read from another thread.
  const AnsiString& IPAddress() const;
  const AnsiString& DriveNumber() const { return driveNumber_; }
  const AnsiString& OSInfo() const { return osInfo_; }

  // One new sample of the CPU usage sampler, "%5.2f%%".
  AnsiString CpuUsageText();
  // The same sample as a fraction (0 idle, 1 busy), for who formats it later.
  double CpuUsage();

  // The published setters: stored values load without effect.
  void Discard(const AnsiString&) {}

 private:
  AnsiString dirWindows_, dirWinSys_, dirTemp_, version_, machineName_, userName_, driveNumber_, osInfo_;
  mutable AnsiString ipAddress_;
  mutable std::once_flag ipResolved_;
};

// The pieces of TAVTools, usable on their own.
namespace host {
// The directory with one trailing backslash; empty stays empty.
AnsiString WithTrailingBackslash(const AnsiString& dir);
AnsiString MachineName(Platform& p);
AnsiString UserName(Platform& p);
// Every IPv4 address of the host, each followed by a blank.
AnsiString IPAddress(Platform& p);
// Serial of C: as eight upper-case hex digits; empty when the volume cannot be read.
AnsiString DriveNumber(Platform& p);
AnsiString OSInfo(const OsVersionInfo& v);
}  // namespace host

}  // namespace vsi
