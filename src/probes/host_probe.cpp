#include "probes/host_probe.h"

#include "framework/context.h"
#include "framework/scope_exit.h"
#include "platform/platform.h"
#include "probes/cpu_usage.h"

namespace vsi {

namespace host {

AnsiString WithTrailingBackslash(const AnsiString& dir) {
  if (dir.empty() || dir.back() == '\\') return dir;
  return dir + "\\";
}

namespace {
// Winsock is started for each question and shut down on every path after a good start.
class SocketsSession {
 public:
  explicit SocketsSession(ISockets& s) : s_(s), started_(s.Startup()) {}
  ~SocketsSession() {
    if (started_) s_.Cleanup();
  }
  SocketsSession(const SocketsSession&) = delete;
  SocketsSession& operator=(const SocketsSession&) = delete;
  bool Started() const { return started_; }

 private:
  ISockets& s_;
  bool started_;
};

AnsiString UpToZero(AnsiString s) {
  auto nul = s.find('\0');
  if (nul != AnsiString::npos) s.resize(nul);
  return s;
}
}  // namespace

AnsiString MachineName(Platform& p) {
  SocketsSession session(p.sockets);
  if (!session.Started()) return AnsiString();
  std::string name;
  if (!p.sockets.GetHostName(name)) return AnsiString();
  return UpToZero(name);
}

AnsiString UserName(Platform& p) {
  std::string name;
  if (!p.system.GetUserName(name)) return AnsiString();
  name = UpToZero(name);
  if (name.size() > 256) name.resize(256);
  return name;
}

AnsiString IPAddress(Platform& p) {
  AnsiString out;
  SocketsSession session(p.sockets);
  if (!session.Started()) return out;
  std::string host;
  if (!p.sockets.GetHostName(host)) return out;
  std::vector<std::string> addresses;
  if (!p.sockets.GetHostAddresses(UpToZero(host), addresses)) return out;
  for (const std::string& a : addresses) out += a + " ";
  return out;
}

AnsiString DriveNumber(Platform& p) {
  // No "insert a disk" box for an empty drive; the old mode comes back on every path.
  const uint32_t old = p.volumes.SetErrorMode(SEM_FAILCRITICALERRORS_);
  ScopeExit restore{[&] { p.volumes.SetErrorMode(old); }};
  VolumeInformation info;
  if (!p.volumes.GetVolumeInformation("c:\\", info)) return AnsiString();
  return Format("%08X", info.serialNumber);
}

AnsiString OSInfo(const OsVersionInfo& v) {
  const char* name;
  uint32_t build;
  switch (v.platformId) {
    case VER_PLATFORM_WIN32_WINDOWS_:
      name = "Windows 95";
      build = v.buildNumber & 0xFFFF;  // the high word repeats the version bytes there
      break;
    case VER_PLATFORM_WIN32_NT_:
      name = "Windows NT";
      build = v.buildNumber;
      break;
    default:
      return Format("%s %d.%d", "Windows", int(v.majorVersion), int(v.minorVersion));
  }
  if (v.csdVersion.empty())
    return Format("%s %d.%d (Build %d)", name, int(v.majorVersion), int(v.minorVersion), int(build));
  return Format("%s %d.%d (Build %d: %s)", name, int(v.majorVersion), int(v.minorVersion), int(build),
                v.csdVersion.c_str());
}

}  // namespace host

const ClassInfo& TAVTools::StaticClass() {
  static const ClassInfo info = ClassBuilder<TAVTools>("TAVTools", &TComponent::StaticClass())
                                    .Creatable()
                                    .Text("dirWindows", &TAVTools::dirWindows, &TAVTools::Discard)
                                    .Text("dirWinSys", &TAVTools::dirWinSys, &TAVTools::Discard)
                                    .Text("dirTemp", &TAVTools::dirTemp, &TAVTools::Discard)
                                    .Text("Version", &TAVTools::Version, &TAVTools::Discard)
                                    .Text("MachineName", &TAVTools::MachineName, &TAVTools::Discard)
                                    .Text("UserName", &TAVTools::UserName, &TAVTools::Discard)
                                    .Text("IPAddress", &TAVTools::IPAddress, &TAVTools::Discard)
                                    .Text("DriveNumber", &TAVTools::DriveNumber, &TAVTools::Discard)
                                    .Text("OSInfo", &TAVTools::OSInfo, &TAVTools::Discard)
                                    .Build();
  return info;
}

TAVTools::TAVTools(TComponent* owner) : TComponent(owner) {
  Platform& p = Plat();
  dirWindows_ = host::WithTrailingBackslash(p.system.GetWindowsDirectory());
  dirWinSys_ = host::WithTrailingBackslash(p.system.GetSystemDirectory());
  dirTemp_ = p.system.GetTempPath();
  version_ = "1.01";
  machineName_ = host::MachineName(p);
  userName_ = host::UserName(p);
  driveNumber_ = host::DriveNumber(p);
  OsVersionInfo v;
  if (!p.system.GetVersionEx(v)) v = OsVersionInfo();
  osInfo_ = host::OSInfo(v);
}

const AnsiString& TAVTools::IPAddress() const {
  std::call_once(ipResolved_, [this] { ipAddress_ = host::IPAddress(Context().platform()); });
  return ipAddress_;
}

AnsiString TAVTools::CpuUsageText() { return vsi::CpuUsageText(Context()); }

double TAVTools::CpuUsage() { return SampleCpuUsage(Context()); }

}  // namespace vsi
