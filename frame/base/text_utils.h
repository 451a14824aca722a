// String routines on the two string forms of the system: NUL-terminated
// strings (lengths stop at 32,767) and length-prefixed strings (one length
// byte, at most 255 characters, in a 256-byte buffer). Text is Mac OS Roman
// bytes. Nothing here allocates; a null string pointer makes a routine do
// nothing or answer its neutral value. Numbers are read in the C locale.
#pragma once

#include <cstdint>

constexpr int32_t kMaxCStringLength = 32767;
constexpr int32_t kStr255Capacity = 255;

int32_t zor_PIstrlen(const char* s);
char* PIstrcpy(char* dst, const char* src);
char* PIstrcat(char* dst, const char* src);
void AppendCharToCString(char* s, char c);

// Keep only the characters of a number: digits, '+' and '-' (and '.' for the
// second). Only the first 255 characters of the input are considered.
void deSpaceCString(char* s);
void deSpaceCString_keeping_decimal(char* s);

// Leading blanks skipped, then as much of a number as there is; 0 when there
// is none or for a null pointer. Integers saturate at the 32-bit limits.
int32_t MacCStringToNum(const char* s);
double MacCStringToFloat(const char* s);

// In place: a length-prefixed string becomes NUL-terminated.
void ZorStr2552Cstring(unsigned char* buffer);
void CopyPascalToC(const unsigned char* source, char* destination);
// In place: a NUL-terminated string becomes length-prefixed, cut to 255.
void Cstring2Str255(char* buffer);

void AppendBreak(char* s);  // "<br>" and a carriage return
void AppendJPG(char* s);
void SpacesToScores(char* s);
void MakeCFilenameNonWeirdForHTMLDisplay(char* s);
void MakeNameNonWeirdForOBJ(char* s);

// 1 when a[0..n-1] equals b[k..k+n-1] with A-Z folded to a-z (n < 1: 1).
int32_t AMatchesB_nocase(const char* a, const char* b, int32_t n, int32_t k);
// Index of the first occurrence of a in b, or -1 (also for null or empty).
int32_t findAinB(const char* a, const char* b, int32_t caseBlind);
