#pragma once

// The byte values of a report that mean something other than a letter.
namespace kvalon::codes {

inline constexpr unsigned char BoldMarker = 2;
inline constexpr unsigned char Backspace = 8;
inline constexpr unsigned char Tab = 9;
inline constexpr unsigned char LineFeed = 10;
inline constexpr unsigned char VerticalTab = 11;
inline constexpr unsigned char FormFeed = 12;
inline constexpr unsigned char CarriageReturn = 13;
inline constexpr unsigned char ShiftOut = 14;
inline constexpr unsigned char ShiftIn = 15;
inline constexpr unsigned char DeviceControl2 = 18;
inline constexpr unsigned char DeviceControl4 = 20;
inline constexpr unsigned char EndOfMedium = 25;
inline constexpr unsigned char DosEndOfFile = 26;
inline constexpr unsigned char Escape = 27;
inline constexpr unsigned char FirstPrintable = 32;
inline constexpr unsigned char Delete = 127;
inline constexpr unsigned char FirstMikLetter = 128;
inline constexpr unsigned char LastMikLetter = 191;
inline constexpr unsigned char NoBreakSpace = 255;

} // namespace kvalon::codes
