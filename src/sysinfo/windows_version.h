#pragma once
// What the system says about the installed Windows: product name and identifier, registered
// owner and organisation from the version key, service-pack text and numbers from the version
// record.
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

class TSysWindowsObject : public TSysObject {
  VSI_CLASS(TSysWindowsObject)
  explicit TSysWindowsObject(AppContext& context);

  const AnsiString& RegisteredOwner() const { return registeredOwner_; }
  const AnsiString& RegisteredCompany() const { return registeredCompany_; }
  const AnsiString& ProductName() const { return productName_; }
  const AnsiString& ProductID() const { return productID_; }
  // Nothing fills it.
  const AnsiString& InstallDate() const { return installDate_; }
  const AnsiString& CSDVersion() const { return csdVersion_; }
  uint32_t PlatformID() const { return platformID_; }
  // All 32 bits of the record's build field.
  uint32_t BuildNumber() const { return buildNumber_; }
  uint32_t MajorVersion() const { return majorVersion_; }
  uint32_t MinorVersion() const { return minorVersion_; }

  // Registry texts (kept when the key does not open), then the version record; the product
  // name of Windows 11, which its registry still calls Windows 10, is mended from the build.
  void Retrieve() override;
  void Apply() override {}

  // "\SOFTWARE\Microsoft\Windows NT\CurrentVersion" on the NT family, without " NT" otherwise.
  static std::string VersionKeyPath(bool ntFamily);
  // The service-pack text of a version record: up to its first zero, at most 128 characters.
  static AnsiString CsdVersionText(const OsVersionInfo& v);

 private:
  // "Windows 10 ..." becomes "Windows 11 ..." on a build of Windows 11.
  void NameWindows11();

  AnsiString registeredOwner_, registeredCompany_, productName_, productID_, installDate_, csdVersion_;
  uint32_t platformID_ = 0, buildNumber_ = 0, majorVersion_ = 0, minorVersion_ = 0;
};

class TSysWindows : public TSysBaseComponent {
  VSI_CLASS(TSysWindows)
  explicit TSysWindows(TComponent* owner);
  TSysWindowsObject* Windows() const { return static_cast<TSysWindowsObject*>(Object()); }
  void SetWindows(TSysWindowsObject*) {}
};

}  // namespace vsi
