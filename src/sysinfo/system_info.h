#pragma once
// The aggregate component: eighteen information objects under one component, retrieved
// together by Refresh.
#include "sysinfo/drive.h"
#include "sysinfo/periphery_objects.h"
#include "sysinfo/processor.h"
#include "sysinfo/start_objects.h"
#include "sysinfo/windows_version.h"

namespace vsi {

class TSysSystemInfo : public TSysBaseComponent {
  VSI_CLASS(TSysSystemInfo)
  // Makes the objects; reads nothing from the system.
  explicit TSysSystemInfo(TComponent* owner);
  ~TSysSystemInfo() override;

  TSysPowerStatusObject* SystemPowerStatus() const { return powerStatus_.get(); }
  TSysTimeZoneObject* TimeZone() const { return timeZone_.get(); }
  TSysLocaleObject* LocaleSettings() const { return localeSettings_.get(); }
  TSysMemoryObject* Memory() const { return memory_.get(); }
  TSysKeyboardObject* Keyboard() const { return keyboard_.get(); }
  TSysMouseObject* Mouse() const { return mouse_.get(); }
  TSysDisplayObject* Display() const { return display_.get(); }
  TSysPrintersObject* Printers() const { return printers_.get(); }
  TSysWindowsObject* Windows() const { return windows_.get(); }
  TSysDriveObject* Drive() const { return drive_.get(); }
  TSysProcessorObject* Processor() const { return processor_.get(); }
  TSysUninstallInfoObject* UninstallInfo() const { return uninstallInfo_.get(); }
  TSysFontsInfoObject* FontsInfo() const { return fontsInfo_.get(); }
  TSysMultimediaObject* Multimedia() const { return multimedia_.get(); }
  TSysFileAssocObject* FileAssoc() const { return fileAssoc_.get(); }
  TSysInternetObject* Internet() const { return internet_.get(); }
  TSysModemsObject* Modems() const { return modems_.get(); }
  TSysNetworkObject* Network() const { return network_.get(); }
  void Ignore(TObject*) {}

  // Every object but the keyboard and the modems, in a fixed order; the processor's usage
  // measurement makes this block for about a second.
  void Retrieve() override;

 private:
  template <class T>
  std::unique_ptr<T> Make();

  std::unique_ptr<TSysPowerStatusObject> powerStatus_;
  std::unique_ptr<TSysTimeZoneObject> timeZone_;
  std::unique_ptr<TSysLocaleObject> localeSettings_;
  std::unique_ptr<TSysMemoryObject> memory_;
  std::unique_ptr<TSysKeyboardObject> keyboard_;
  std::unique_ptr<TSysMouseObject> mouse_;
  std::unique_ptr<TSysDisplayObject> display_;
  std::unique_ptr<TSysPrintersObject> printers_;
  std::unique_ptr<TSysWindowsObject> windows_;
  std::unique_ptr<TSysDriveObject> drive_;
  std::unique_ptr<TSysProcessorObject> processor_;
  std::unique_ptr<TSysUninstallInfoObject> uninstallInfo_;
  std::unique_ptr<TSysFontsInfoObject> fontsInfo_;
  std::unique_ptr<TSysMultimediaObject> multimedia_;
  std::unique_ptr<TSysFileAssocObject> fileAssoc_;
  std::unique_ptr<TSysInternetObject> internet_;
  std::unique_ptr<TSysModemsObject> modems_;
  std::unique_ptr<TSysNetworkObject> network_;
};

}  // namespace vsi
