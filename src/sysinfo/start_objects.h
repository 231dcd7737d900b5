#pragma once
// The information objects the main window retrieves at start without showing them: display
// (desktop effects, screen saver, wallpaper and patterns, display modes), network (user,
// computer name, connected and shared resources, adapters), keyboard and locale; their
// components.
#include "sysinfo/display_objects.h"
#include "sysinfo/keyboard_object.h"
#include "sysinfo/locale_object.h"
#include "sysinfo/network_objects.h"
