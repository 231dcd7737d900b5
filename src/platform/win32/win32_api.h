#pragma once
// <windows.h> for the Win32 implementation files, without the A/W macros that share a name
// with methods of the platform interfaces (GetVersionEx, CreateWindow, GetLocaleInfo, ...):
// left defined, they would rename those methods in one translation unit and not in the
// others. Code here calls the explicit A or W function.
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>
#include <winnetwk.h>
#include <winperf.h>
#include <winspool.h>
#include <winternl.h>

#undef CharLower
#undef RegisterClass
#undef CharUpper
#undef CreateWindow
#undef DrawText
#undef EnumDisplaySettings
#undef EnumSystemCodePages
#undef EnumSystemLocales
#undef GetComputerName
#undef GetCurrentDirectory
#undef GetDiskFreeSpace
#undef GetDiskFreeSpaceEx
#undef GetDriveType
#undef GetEnvironmentStrings
#undef GetFileAttributes
#undef GetKeyboardLayoutName
#undef GetLocaleInfo
#undef GetModuleFileName
#undef GetSystemDirectory
#undef GetTempPath
#undef GetUserName
#undef GetVersionEx
#undef GetVolumeInformation
#undef GetWindowsDirectory
#undef MessageBox
#undef OemToChar
#undef ReplaceFile
#undef SetLocaleInfo
#undef SetVolumeLabel
#undef SystemParametersInfo
#undef TextOut
#undef VerLanguageName
#undef WNetGetConnection
#undef WNetGetUser
