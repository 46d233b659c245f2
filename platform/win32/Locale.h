// Date and time texts in the user's locale: GetDateFormatA and GetTimeFormatA.
// The layer has one locale, whatever the identifier: short date "dd.MM.yyyy",
// long date "dddd, d. MMMM yyyy" (English names), time "HH:mm:ss".
#pragma once

#include "Win32Types.h"

typedef DWORD LCID;

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define LOCALE_USER_DEFAULT 0x0400

#define DATE_SHORTDATE 0x00000001
#define DATE_LONGDATE 0x00000002

#define TIME_NOMINUTESORSECONDS 0x00000001
#define TIME_NOSECONDS 0x00000002
#define TIME_NOTIMEMARKER 0x00000004
#define TIME_FORCE24HOURFORMAT 0x00000008

// Writes the date (null: today, local time) as the picture `format` gives, or
// the locale's short or long date when format is null. Pictures: d dd ddd dddd,
// M MM MMM MMMM, y yy yyyy (yyy and more as yyyy), text in single quotes ('' is
// a quote), other characters as they stand. Returns the bytes written with the
// terminating zero; with size 0 only the size needed. 0 with
// ERROR_INSUFFICIENT_BUFFER when size is too small (buffer contents then
// undefined), ERROR_INVALID_PARAMETER for an impossible date, both date flags,
// flags together with a picture, a null buffer with size > 0 or a negative size.
int GetDateFormatA(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCSTR format, LPSTR buffer, int size);

// The same for the time (null: now, local time). Pictures: h hh (12-hour),
// H HH (24-hour), m mm, s ss, t tt (A/P, AM/PM), quoted text. TIME_NOSECONDS
// drops seconds and the separator before them, TIME_NOMINUTESORSECONDS minutes
// too, TIME_NOTIMEMARKER the markers, TIME_FORCE24HOURFORMAT turns h into H.
// Errors as GetDateFormatA; an hour above 23, minute or second above 59 is invalid.
int GetTimeFormatA(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCSTR format, LPSTR buffer, int size);

// The current local date and time.
void GetLocalTime(LPSYSTEMTIME time);
