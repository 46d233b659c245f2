// Date and time pictures of the layer's single locale.
#include "Locale.h"

#include <ctime>
#include <string>
#include <vector>

#include "LastError.h"

namespace {

const char* const shortDatePicture = "dd.MM.yyyy";
const char* const longDatePicture = "dddd, d. MMMM yyyy";
const char* const timePicture = "HH:mm:ss";

const char* const monthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
const char* const dayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// One piece of a picture: a field letter repeated `count` times, or literal text.
struct PicturePiece {
    char letter = 0;  // 0 for literal text
    int count = 0;
    std::string text;
};

std::vector<PicturePiece> SplitPicture(const std::string& picture, const std::string& fieldLetters) {
    std::vector<PicturePiece> pieces;
    auto literal = [&]() -> std::string& {
        if (pieces.empty() || pieces.back().letter != 0) pieces.push_back(PicturePiece{});
        return pieces.back().text;
    };
    for (size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'' && i + 1 < picture.size() && picture[i + 1] == '\'') {
            literal() += '\'';
            i += 2;
        } else if (c == '\'') {
            ++i;
            std::string& text = literal();
            while (i < picture.size()) {
                if (picture[i] == '\'' && i + 1 < picture.size() && picture[i + 1] == '\'') {
                    text += '\'';
                    i += 2;
                } else if (picture[i] == '\'') {
                    ++i;
                    break;
                } else {
                    text += picture[i++];
                }
            }
        } else if (fieldLetters.find(c) != std::string::npos) {
            size_t end = i;
            while (end < picture.size() && picture[end] == c) ++end;
            pieces.push_back(PicturePiece{c, int(end - i), {}});
            i = end;
        } else {
            literal() += c;
            ++i;
        }
    }
    return pieces;
}

// Drops the fields with the letter and the literal text just before each.
void DropField(std::vector<PicturePiece>& pieces, char letter) {
    std::vector<PicturePiece> kept;
    for (PicturePiece& piece : pieces) {
        if (piece.letter == letter) {
            if (!kept.empty() && kept.back().letter == 0) kept.pop_back();
            continue;
        }
        kept.push_back(std::move(piece));
    }
    pieces.swap(kept);
}

std::string Number(int value, int digits) {
    std::string text = std::to_string(value);
    while (int(text.size()) < digits) text.insert(text.begin(), '0');
    return text;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

// 0 = Sunday, for the proleptic Gregorian calendar.
int DayOfWeek(int year, int month, int day) {
    static const int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3) --year;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

std::string DateField(const PicturePiece& piece, const SYSTEMTIME& date) {
    const int weekday = DayOfWeek(date.wYear, date.wMonth, date.wDay);
    switch (piece.letter) {
        case 'd':
            if (piece.count <= 2) return Number(date.wDay, piece.count);
            if (piece.count == 3) return std::string(dayNames[weekday], 3);
            return dayNames[weekday];
        case 'M':
            if (piece.count <= 2) return Number(date.wMonth, piece.count);
            if (piece.count == 3) return std::string(monthNames[date.wMonth - 1], 3);
            return monthNames[date.wMonth - 1];
        case 'y':
            if (piece.count == 1) return std::to_string(date.wYear % 100);
            if (piece.count == 2) return Number(date.wYear % 100, 2);
            return Number(date.wYear, 4);
    }
    return piece.text;
}

std::string TimeField(const PicturePiece& piece, const SYSTEMTIME& time) {
    const int twelveHour = time.wHour % 12 == 0 ? 12 : time.wHour % 12;
    const char* marker = time.wHour < 12 ? "AM" : "PM";
    const int digits = piece.count >= 2 ? 2 : 1;
    switch (piece.letter) {
        case 'h': return Number(twelveHour, digits);
        case 'H': return Number(time.wHour, digits);
        case 'm': return Number(time.wMinute, digits);
        case 's': return Number(time.wSecond, digits);
        case 't': return digits == 1 ? std::string(marker, 1) : std::string(marker);
    }
    return piece.text;
}

// Copies text and its zero into the caller's buffer as the A functions do.
int Deliver(const std::string& text, LPSTR buffer, int size) {
    const int needed = int(text.size()) + 1;
    if (size == 0) return needed;
    if (size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = '\0';
    return needed;
}

int Invalid() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
}

bool BadBuffer(LPSTR buffer, int size) { return size < 0 || (size > 0 && buffer == nullptr); }

SYSTEMTIME Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return now;
}

}  // namespace

void GetLocalTime(LPSYSTEMTIME time) {
    if (time == nullptr) return;
    timespec clock{};
    clock_gettime(CLOCK_REALTIME, &clock);
    std::tm local{};
    localtime_r(&clock.tv_sec, &local);
    time->wYear = WORD(local.tm_year + 1900);
    time->wMonth = WORD(local.tm_mon + 1);
    time->wDayOfWeek = WORD(local.tm_wday);
    time->wDay = WORD(local.tm_mday);
    time->wHour = WORD(local.tm_hour);
    time->wMinute = WORD(local.tm_min);
    time->wSecond = WORD(local.tm_sec);
    time->wMilliseconds = WORD(clock.tv_nsec / 1000000);
}

int GetDateFormatA(LCID, DWORD flags, const SYSTEMTIME* date, LPCSTR format, LPSTR buffer, int size) {
    if (BadBuffer(buffer, size)) return Invalid();
    if ((flags & ~DWORD(DATE_SHORTDATE | DATE_LONGDATE)) != 0 ||
        (flags & (DATE_SHORTDATE | DATE_LONGDATE)) == (DATE_SHORTDATE | DATE_LONGDATE) ||
        (format != nullptr && flags != 0))
        return Invalid();
    const SYSTEMTIME when = date != nullptr ? *date : Now();
    if (when.wYear < 1 || when.wYear > 9999 || when.wMonth < 1 || when.wMonth > 12 || when.wDay < 1 ||
        when.wDay > DaysInMonth(when.wYear, when.wMonth))
        return Invalid();
    const char* picture = format != nullptr ? format : (flags & DATE_LONGDATE) ? longDatePicture : shortDatePicture;
    std::string text;
    for (const PicturePiece& piece : SplitPicture(picture, "dMy")) text += DateField(piece, when);
    return Deliver(text, buffer, size);
}

int GetTimeFormatA(LCID, DWORD flags, const SYSTEMTIME* time, LPCSTR format, LPSTR buffer, int size) {
    if (BadBuffer(buffer, size)) return Invalid();
    const DWORD known = TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT;
    if ((flags & ~known) != 0) return Invalid();
    const SYSTEMTIME when = time != nullptr ? *time : Now();
    if (when.wHour > 23 || when.wMinute > 59 || when.wSecond > 59) return Invalid();
    std::vector<PicturePiece> pieces = SplitPicture(format != nullptr ? format : timePicture, "hHmst");
    if (flags & (TIME_NOSECONDS | TIME_NOMINUTESORSECONDS)) DropField(pieces, 's');
    if (flags & TIME_NOMINUTESORSECONDS) DropField(pieces, 'm');
    if (flags & TIME_NOTIMEMARKER) DropField(pieces, 't');
    std::string text;
    for (PicturePiece& piece : pieces) {
        if ((flags & TIME_FORCE24HOURFORMAT) && piece.letter == 'h') piece.letter = 'H';
        text += TimeField(piece, when);
    }
    return Deliver(text, buffer, size);
}
