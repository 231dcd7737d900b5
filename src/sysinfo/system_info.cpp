#include "sysinfo/system_info.h"

namespace vsi {

const ClassInfo& TSysSystemInfo::StaticClass() {
  using S = TSysSystemInfo;
  static const ClassInfo info =
      ClassBuilder<S>("TSysSystemInfo", &TSysBaseComponent::StaticClass())
          .Creatable()
          .Object("SystemPowerStatus", TSysPowerStatusObject::StaticClass(), &S::SystemPowerStatus, &S::Ignore)
          .Object("TimeZone", TSysTimeZoneObject::StaticClass(), &S::TimeZone, &S::Ignore)
          .Object("LocaleSettings", TSysLocaleObject::StaticClass(), &S::LocaleSettings, &S::Ignore)
          .Object("Memory", TSysMemoryObject::StaticClass(), &S::Memory, &S::Ignore)
          .Object("Keyboard", TSysKeyboardObject::StaticClass(), &S::Keyboard, &S::Ignore)
          .Object("Mouse", TSysMouseObject::StaticClass(), &S::Mouse, &S::Ignore)
          .Object("Display", TSysDisplayObject::StaticClass(), &S::Display, &S::Ignore)
          .Object("Printers", TSysPrintersObject::StaticClass(), &S::Printers, &S::Ignore)
          .Object("Windows", TSysWindowsObject::StaticClass(), &S::Windows, &S::Ignore)
          .Object("Drive", TSysDriveObject::StaticClass(), &S::Drive, &S::Ignore)
          .Object("Processor", TSysProcessorObject::StaticClass(), &S::Processor, &S::Ignore)
          .Object("UninstallInfo", TSysUninstallInfoObject::StaticClass(), &S::UninstallInfo, &S::Ignore)
          .Object("FontsInfo", TSysFontsInfoObject::StaticClass(), &S::FontsInfo, &S::Ignore)
          .Object("Multimedia", TSysMultimediaObject::StaticClass(), &S::Multimedia, &S::Ignore)
          .Object("FileAssoc", TSysFileAssocObject::StaticClass(), &S::FileAssoc, &S::Ignore)
          .Object("Internet", TSysInternetObject::StaticClass(), &S::Internet, &S::Ignore)
          .Object("Modems", TSysModemsObject::StaticClass(), &S::Modems, &S::Ignore)
          .Object("Network", TSysNetworkObject::StaticClass(), &S::Network, &S::Ignore)
          .Build();
  return info;
}

// Each object reports straight to this component's forwarder.
template <class T>
std::unique_ptr<T> TSysSystemInfo::Make() {
  auto object = std::make_unique<T>(Context());
  object->SetChangeHandler(Forwarder());
  object->SetOwnerComponent(this);
  return object;
}

TSysSystemInfo::TSysSystemInfo(TComponent* owner)
    : TSysBaseComponent(owner),
      powerStatus_(Make<TSysPowerStatusObject>()),
      timeZone_(Make<TSysTimeZoneObject>()),
      localeSettings_(Make<TSysLocaleObject>()),
      memory_(Make<TSysMemoryObject>()),
      keyboard_(Make<TSysKeyboardObject>()),
      mouse_(Make<TSysMouseObject>()),
      display_(Make<TSysDisplayObject>()),
      printers_(Make<TSysPrintersObject>()),
      windows_(Make<TSysWindowsObject>()),
      drive_(Make<TSysDriveObject>()),
      processor_(Make<TSysProcessorObject>()),
      uninstallInfo_(Make<TSysUninstallInfoObject>()),
      fontsInfo_(Make<TSysFontsInfoObject>()),
      multimedia_(Make<TSysMultimediaObject>()),
      fileAssoc_(Make<TSysFileAssocObject>()),
      internet_(Make<TSysInternetObject>()),
      modems_(Make<TSysModemsObject>()),
      network_(Make<TSysNetworkObject>()) {
  processor_->ProcessorsInfo()->SetChangeHandler(Forwarder());
  network_->NetworkCards()->SetChangeHandler(Forwarder());
}

TSysSystemInfo::~TSysSystemInfo() = default;

void TSysSystemInfo::Retrieve() {
  internet_->Retrieve();
  drive_->Retrieve();
  windows_->Retrieve();
  memory_->Retrieve();
  localeSettings_->Retrieve();
  timeZone_->Retrieve();
  powerStatus_->Retrieve();
  mouse_->Retrieve();
  display_->Retrieve();
  processor_->Retrieve();
  uninstallInfo_->Retrieve();
  fontsInfo_->Retrieve();
  multimedia_->Retrieve();
  fileAssoc_->Retrieve();
  network_->Retrieve();
  printers_->Retrieve();
}

}  // namespace vsi
