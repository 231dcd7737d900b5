#pragma once
// The smaller information objects of the aggregate component: power status, time zone,
// memory, mouse, printers, installed programs, fonts, multimedia drivers, file associations,
// internet settings and modems. Each only reads; Apply has nothing to write.
#include <memory>

#include "framework/strings.h"
#include "platform/system.h"
#include "sysinfo/sysinfo_base.h"

namespace vsi {

class TSysPowerStatusObject : public TSysObject {
  VSI_CLASS(TSysPowerStatusObject)
  explicit TSysPowerStatusObject(AppContext& context);
  // 0 off line, 1 on line, 255 unknown.
  uint8_t ACLineStatus() const { return status_.acLineStatus; }
  uint8_t BatteryFlag() const { return status_.batteryFlag; }
  uint8_t BatteryLifePercent() const { return status_.batteryLifePercent; }
  // Seconds; 0xFFFFFFFF unknown.
  uint32_t BatteryLifeTime() const { return status_.batteryLifeTime; }
  uint32_t BatteryFullLifeTime() const { return status_.batteryFullLifeTime; }
  void Retrieve() override;
  void Apply() override {}

 private:
  PowerStatus status_;
};

class TSysTimeZoneObject : public TSysObject {
  VSI_CLASS(TSysTimeZoneObject)
  explicit TSysTimeZoneObject(AppContext& context);
  int32_t Bias() const { return bias_; }
  const AnsiString& StandardName() const { return standardName_; }
  int32_t StandardBias() const { return standardBias_; }
  const AnsiString& DaylightName() const { return daylightName_; }
  int32_t DaylightBias() const { return daylightBias_; }
  // Whether daylight-saving time is in force now.
  bool DaylightActive() const { return daylightActive_; }
  void Retrieve() override;
  void Apply() override {}

 private:
  int32_t bias_ = 0, standardBias_ = 0, daylightBias_ = 0;
  AnsiString standardName_, daylightName_;
  bool daylightActive_ = false;
};

class TSysMemoryObject : public TSysObject {
  VSI_CLASS(TSysMemoryObject)
  explicit TSysMemoryObject(AppContext& context);
  uint32_t MemoryLoad() const { return load_; }
  // Bytes.
  int64_t PhysicalTotal() const { return physTotal_; }
  int64_t PhysicalFree() const { return physFree_; }
  int64_t PageFileTotal() const { return pageTotal_; }
  int64_t PageFileFree() const { return pageFree_; }
  int64_t VirtualTotal() const { return virtTotal_; }
  int64_t VirtualFree() const { return virtFree_; }
  void Retrieve() override;
  void Apply() override {}

 private:
  uint32_t load_ = 0;
  int64_t physTotal_ = 0, physFree_ = 0, pageTotal_ = 0, pageFree_ = 0, virtTotal_ = 0, virtFree_ = 0;
};

class TSysMouseObject : public TSysObject {
  VSI_CLASS(TSysMouseObject)
  explicit TSysMouseObject(AppContext& context);
  bool Present() const { return present_; }
  int32_t Buttons() const { return buttons_; }
  bool ButtonsSwapped() const { return swapped_; }
  int32_t DoubleClickWidth() const { return doubleClickWidth_; }
  int32_t DoubleClickHeight() const { return doubleClickHeight_; }
  void Retrieve() override;
  void Apply() override {}

 private:
  bool present_ = false, swapped_ = false;
  int32_t buttons_ = 0, doubleClickWidth_ = 0, doubleClickHeight_ = 0;
};

// A read-only object holding one owned name list.
class TSysNameListObject : public TSysObject {
  VSI_CLASS(TSysNameListObject)
  explicit TSysNameListObject(AppContext& context);
  ~TSysNameListObject() override;
  void Apply() override {}

 protected:
  TStringList* List() const { return list_.get(); }

 private:
  std::unique_ptr<TStringList> list_;
};

class TSysPrintersObject : public TSysNameListObject {
  VSI_CLASS(TSysPrintersObject)
  using TSysNameListObject::TSysNameListObject;
  TStringList* Printers() const { return List(); }
  void Retrieve() override;
};

// Installed programs: the display names of the uninstall entries.
class TSysUninstallInfoObject : public TSysNameListObject {
  VSI_CLASS(TSysUninstallInfoObject)
  using TSysNameListObject::TSysNameListObject;
  TStringList* Programs() const { return List(); }
  void Retrieve() override;
};

class TSysFontsInfoObject : public TSysNameListObject {
  VSI_CLASS(TSysFontsInfoObject)
  using TSysNameListObject::TSysNameListObject;
  // Sorted screen font names.
  TStringList* Fonts() const { return List(); }
  void Retrieve() override;
};

// The multimedia drivers the system lists, as "name=driver" lines.
class TSysMultimediaObject : public TSysNameListObject {
  VSI_CLASS(TSysMultimediaObject)
  using TSysNameListObject::TSysNameListObject;
  TStringList* Drivers() const { return List(); }
  int32_t WaveDevices() const { return Count("wave"); }
  int32_t MidiDevices() const { return Count("midi"); }
  int32_t MixerDevices() const { return Count("mixer"); }
  int32_t AuxDevices() const { return Count("aux"); }
  void Retrieve() override;

 private:
  int32_t Count(const char* kind) const;
};

// File name extensions and their file types, as ".ext=type" lines.
class TSysFileAssocObject : public TSysNameListObject {
  VSI_CLASS(TSysFileAssocObject)
  using TSysNameListObject::TSysNameListObject;
  TStringList* Associations() const { return List(); }
  void Retrieve() override;
};

class TSysModemsObject : public TSysNameListObject {
  VSI_CLASS(TSysModemsObject)
  using TSysNameListObject::TSysNameListObject;
  TStringList* Modems() const { return List(); }
  void Retrieve() override;
};

// The user's proxy settings.
class TSysInternetObject : public TSysObject {
  VSI_CLASS(TSysInternetObject)
  explicit TSysInternetObject(AppContext& context);
  bool ProxyEnabled() const { return proxyEnabled_; }
  const AnsiString& ProxyServer() const { return proxyServer_; }
  const AnsiString& ProxyOverride() const { return proxyOverride_; }
  const AnsiString& AutoConfigURL() const { return autoConfigURL_; }
  void Retrieve() override;
  void Apply() override {}

 private:
  bool proxyEnabled_ = false;
  AnsiString proxyServer_, proxyOverride_, autoConfigURL_;
};

}  // namespace vsi
