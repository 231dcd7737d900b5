#include "sysinfo/windows_version.h"

#include "framework/context.h"
#include "framework/registry_access.h"
#include "framework/scope_exit.h"

namespace vsi {

const ClassInfo& TSysWindowsObject::StaticClass() {
  using W = TSysWindowsObject;
  static const ClassInfo info = ClassBuilder<W>("TSysWindowsObject", &TSysObject::StaticClass())
                                    .Text("RegisteredOwner", &W::RegisteredOwner)
                                    .Text("RegisteredCompany", &W::RegisteredCompany)
                                    .Text("ProductName", &W::ProductName)
                                    .Text("ProductID", &W::ProductID)
                                    .Text("InstallDate", &W::InstallDate)
                                    .Text("CSDVersion", &W::CSDVersion)
                                    .Int("PlatformID", &W::PlatformID)
                                    .Int("BuildNumber", &W::BuildNumber)
                                    .Int("MajorVersion", &W::MajorVersion)
                                    .Int("MinorVersion", &W::MinorVersion)
                                    .Build();
  return info;
}

TSysWindowsObject::TSysWindowsObject(AppContext& context) : TSysObject(context) {}

std::string TSysWindowsObject::VersionKeyPath(bool ntFamily) {
  return std::string("\\SOFTWARE\\Microsoft\\Windows") + (ntFamily ? " NT" : "") + "\\CurrentVersion";
}

AnsiString TSysWindowsObject::CsdVersionText(const OsVersionInfo& v) {
  return v.csdVersion.substr(0, std::min<size_t>(v.csdVersion.find('\0'), 128));
}

void TSysWindowsObject::Retrieve() {
  std::string path = VersionKeyPath(PlatformFlags(Context()).isNT);
  TRegistry& reg = CreateRegistry();
  SetRegistryRoot(HKEY_LOCAL_MACHINE_);
  // Read access is all we need; full access would hide the product name from ordinary users.
  if (OpenRegKey(path)) {
    ScopeExit close{[this] { CloseRegKey(); }};
    // Read while the window starts: a value of another type leaves that one text empty.
    registeredOwner_ = ReadTextOrEmpty(reg, "RegisteredOwner");
    registeredCompany_ = ReadTextOrEmpty(reg, "RegisteredOrganization");
    productID_ = ReadTextOrEmpty(reg, "ProductID");
    productName_ = ReadTextOrEmpty(reg, "ProductName");
  }
  OsVersionInfo v;
  if (Plat().system.GetVersionEx(v)) {
    csdVersion_ = CsdVersionText(v);
    buildNumber_ = v.buildNumber;
    platformID_ = v.platformId;
    majorVersion_ = v.majorVersion;
    minorVersion_ = v.minorVersion;
  }
  NameWindows11();
}

// Windows 11 still keeps "Windows 10 ..." as its product name; it reports version 10.0 with
// builds from 22000 on. Showing "Windows 10" there would simply be wrong, so the name follows
// the build.
void TSysWindowsObject::NameWindows11() {
  static const std::string kTen = "Windows 10";
  if (platformID_ != 2 || majorVersion_ != 10 || buildNumber_ < 22000) return;
  if (productName_.compare(0, kTen.size(), kTen) != 0) return;
  if (productName_.size() > kTen.size() && productName_[kTen.size()] != ' ') return;
  productName_[kTen.size() - 1] = '1';
}

const ClassInfo& TSysWindows::StaticClass() {
  static const ClassInfo info = ClassBuilder<TSysWindows>("TSysWindows", &TSysBaseComponent::StaticClass())
                                    .Creatable()
                                    .Object("Windows", TSysWindowsObject::StaticClass(), &TSysWindows::Windows,
                                            &TSysWindows::SetWindows)
                                    .Build();
  return info;
}

TSysWindows::TSysWindows(TComponent* owner) : TSysBaseComponent(owner) {
  AttachObject(std::make_unique<TSysWindowsObject>(Context()));
}

}  // namespace vsi
