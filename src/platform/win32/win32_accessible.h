#pragma once
// A form's client area as screen readers see it (MSAA): an IAccessible whose children are the
// items the form's sink lists (child id = index + 1, simple elements), or, for a control with a
// window of its own, the system's object of that window. The items are asked afresh on every
// call. oleacc and oleaut32 are loaded on first need only: most runs meet no reader.
#include "platform/win32/win32_api.h"

#include "platform/windowing.h"

namespace vsi::win32 {

// Posted to the window by a reader's default action: wParam is the item's index. The sink
// does it from the message loop, not inside the reader's call.
inline constexpr UINT kAccessibleAction = WM_APP + 0x53;

class AccessibleClient;

// Creates the object of `hwnd`'s client area (one reference, the caller's); null when oleacc
// is missing. The sink must answer WmAccessibleItems until Disconnect.
AccessibleClient* CreateAccessibleClient(HWND hwnd, IWindowEvents* sink);

// The WM_GETOBJECT answer handing the object to the asking reader (LresultFromObject); 0 when
// it cannot be given.
LRESULT AccessibleResult(AccessibleClient* object, WPARAM wp);

// The window is going: the object forgets it (every later call answers RPC_E_DISCONNECTED),
// readers elsewhere lose their hold on it, and the caller's reference is given back.
void DisconnectAccessibleClient(AccessibleClient* object);

}  // namespace vsi::win32
