// Character classes and case mapping of the Central European code page (1250).
#pragma once

// Builds the character tables; the functions below also work before it is
// called (the tables are built on first use), so calling it is optional and
// may be repeated.
void mystr_init();

// True for a letter of the code page: ASCII letters and every accented letter
// the code page holds (Hungarian á é í ó ö ő ú ü ű and their capitals among them).
bool mystr_ishchar(char c);

// Upper-case and lower-case partner of a code-page letter; any other byte
// (digits, signs, letters without a partner such as 0xDF) comes back unchanged.
char mystr_upper_char(char c);
char mystr_lower_char(char c);

// True when the byte is an upper-case or a lower-case letter.
bool mystr_isupper(char c);
bool mystr_islower(char c);

// The letter without its accent (0xE1 gives 'a', 0xD5 gives 'O'); other bytes unchanged.
char mystr_noaccent_char(char c);
