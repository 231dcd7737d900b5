#pragma once
// Names of the resources in toolbar1.rc, for LoadBitmapA/LoadIconA/LoadCursorA and
// FindResourceA. Plain strings, so code that never sees <windows.h> can name them too.
//
// Transparency: every picture keeps a colour that appears nowhere else in it in its
// bottom-left pixel: the flags a dark grey frame, the upgrade glyph the window's light
// blue, the drive pictures and the OK glyph silver.

namespace vsi::res {

inline constexpr char kMainIcon[] = "MAINICON";
inline constexpr int kMainIconId = 1;

inline constexpr char kFlagEnglish[] = "FLAG_ENGLISH";
inline constexpr char kFlagFrench[] = "FLAG_FRENCH";
inline constexpr char kFlagGerman[] = "FLAG_GERMAN";
inline constexpr char kFlagItalian[] = "FLAG_ITALIAN";
inline constexpr char kFlagSpanish[] = "FLAG_SPANISH";
inline constexpr char kFlagSwedish[] = "FLAG_SWEDISH";
inline constexpr char kFlagPortuguese[] = "FLAG_PORTUGUESE";
inline constexpr char kFlagDutch[] = "FLAG_DUTCH";
inline constexpr int kFlagWidth = 36;
inline constexpr int kFlagHeight = 22;


inline constexpr char kUpgradeGlyph[] = "UPGRADE_GLYPH";  // 16 x 16, title-bar upgrade button
inline constexpr char kOkGlyph[] = "OK_GLYPH";            // 16 x 16, OK button of the upgrade window

// Drive selector pictures, 16 x 16.
inline constexpr char kDriveFloppy[] = "DRIVE_FLOPPY";
inline constexpr char kDriveFixed[] = "DRIVE_FIXED";
inline constexpr char kDriveNetwork[] = "DRIVE_NETWORK";
inline constexpr char kDriveCdrom[] = "DRIVE_CDROM";
inline constexpr char kDriveRam[] = "DRIVE_RAM";

inline constexpr char kHandCursor[] = "UICOMMON_HANDCURSOR";  // 32 x 32, hot spot at the fingertip

}  // namespace vsi::res
