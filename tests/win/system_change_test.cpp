// What changes under an open window, through the real user32: a display change and volume
// notices reach a form's sink (other device notices do not), and the address watch's message
// is handed on; the watch starts where iphlpapi has the notice and ends with its window.
#include "platform/win32/win32_window_data.h"

#include <dbt.h>

#include <gtest/gtest.h>

namespace vsi {
namespace {

struct ChangeSink : IWindowEvents {
  int displayChanges = 0, addressChanges = 0;
  std::vector<std::pair<bool, uint32_t>> volumes;
  void WmDisplayChange() override { ++displayChanges; }
  void WmVolumesChange(bool arrived, uint32_t drives) override { volumes.emplace_back(arrived, drives); }
  void WmAddressChange() override { ++addressChanges; }
};

HWND H(WindowHandle w) { return reinterpret_cast<HWND>(w); }

TEST(SystemChangeTest, DisplayVolumeAndAddressNoticesReachTheForm) {
  Win32WindowSystem ws;
  ChangeSink sink;
  WindowParams p;
  p.kind = WindowKind::Form;
  p.bounds = {40, 50, 340, 250};
  p.visible = false;
  const WindowHandle form = ws.CreateWindow(p, &sink);
  ASSERT_NE(form, 0u);

  SendMessageW(H(form), WM_DISPLAYCHANGE, 32, MAKELPARAM(1920, 1080));
  EXPECT_EQ(sink.displayChanges, 1);

  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << 4;  // E:
  const LPARAM lp = reinterpret_cast<LPARAM>(&volume);
  EXPECT_EQ(SendMessageW(H(form), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, lp), TRUE);
  SendMessageW(H(form), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, lp);
  // Not a coming or going, and not a volume: nothing to tell.
  SendMessageW(H(form), WM_DEVICECHANGE, DBT_DEVICEQUERYREMOVE, lp);
  SendMessageW(H(form), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  volume.dbcv_devicetype = DBT_DEVTYP_PORT;
  SendMessageW(H(form), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, lp);
  EXPECT_EQ(sink.volumes, (std::vector<std::pair<bool, uint32_t>>{{true, 0x10}, {false, 0x10}}));

  // iphlpapi is there (on Wine too, which accepts the watch and never reports a change).
  EXPECT_TRUE(ws.WatchAddressChanges(form));
  EXPECT_TRUE(ws.WatchAddressChanges(form)) << "asked twice: the one watch";
  // What the watch's thread posts; several posts, several notices.
  PostMessageW(H(form), kAddressChanged, 0, 0);
  PostMessageW(H(form), kAddressChanged, 0, 0);
  ws.ProcessMessages();
  EXPECT_EQ(sink.addressChanges, 2);

  // The watch ends with the window: its thread is joined, nothing waits.
  ws.DestroyWindow(form);
  EXPECT_FALSE(ws.WatchAddressChanges(form)) << "no window, no watch";
}

}  // namespace
}  // namespace vsi
