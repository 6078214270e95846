// The original C runtime's extras that code written for it relies on: path
// splitting and joining, the runtime's own random number generator, integer
// to text conversion in any radix, text to double and float to integer
// conversion and ASCII case-insensitive string functions. They live in namespace crt so they never
// clash with the C library.
#pragma once

#include "platform/shared/Types.h"

#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256
// Largest value of crt::rand(). The C library's RAND_MAX is left alone: it
// describes ::rand, which is a different generator.
#define CRT_RAND_MAX 0x7FFF
// What the case-insensitive comparisons return for a null argument.
#define _NLSCMPERROR 0x7FFFFFFF

namespace crt {

using errno_t = int;

// Splits a path into drive, directory, file title and extension, as the
// original runtime does:
//   - drive: the first two characters when the second is ':' ("C:"), else "";
//   - dir: what follows, up to and including the last '\' or '/', else "";
//   - fname: the rest up to its last '.', or all of it when it has no '.';
//   - ext: the rest from that last '.', the dot included, else "".
// A '.' inside the directory part never starts an extension; ".hidden" is an
// empty title with the extension ".hidden". The parts joined in order give the
// path back. Null output pointers are skipped; a null path splits as "".
// Each output is a buffer of _MAX_DRIVE, _MAX_DIR, _MAX_FNAME or _MAX_EXT
// characters, and a longer part is cut to fit (its first 2, 255, 255 or 255
// characters), never written past the buffer.
PLATFORM_API void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// The same split into buffers of the given sizes. A null buffer must come
// with size 0 and is skipped. Returns 0; EINVAL for a null path or a
// pointer/size mismatch; ERANGE when a part does not fit its buffer. On
// either error every given buffer is set to "".
PLATFORM_API errno_t _splitpath_s(const char* path, char* drive, size_t driveSize, char* dir, size_t dirSize,
                                  char* fname, size_t fnameSize, char* ext, size_t extSize);

// Joins the parts into a path, as the original runtime does: the drive's first
// letter and ':'; the directory with a '\' appended unless it ends in '\' or
// '/'; the title; the extension with a '.' put in front unless it starts with
// one. Null or empty parts are left out. path is a buffer of _MAX_PATH
// characters; a longer result is cut to 259 characters.
PLATFORM_API void _makepath(char* path, const char* drive, const char* dir, const char* fname, const char* ext);
// The same into a buffer of pathSize characters. Returns 0; EINVAL for a null
// path or size 0; ERANGE, leaving "", when the result does not fit.
PLATFORM_API errno_t _makepath_s(char* path, size_t pathSize, const char* drive, const char* dir, const char* fname,
                                 const char* ext);

// The original runtime's generator, one per thread, seeded with 1 until srand
// is called: state = state * 214013 + 2531011 (mod 2^32), and rand returns
// bits 16 to 30 of the new state (0 .. CRT_RAND_MAX). srand(1) gives 41,
// 18467, 6334, 26500, ...
PLATFORM_API void srand(unsigned int seed);
PLATFORM_API int rand();

// Integer to text in radix 2 to 36 with lower-case digits; returns buffer. A
// negative value gets a '-' in radix 10 only; in any other radix its 32-bit
// two's complement is written as an unsigned number (_itoa(-1, b, 16) is
// "ffffffff"). buffer must hold 33 characters (32 digits in radix 2 and the
// terminator). An invalid radix writes "".
PLATFORM_API char* _itoa(int value, char* buffer, int radix);
PLATFORM_API char* _ltoa(LONG value, char* buffer, int radix);
PLATFORM_API char* _ultoa(ULONG value, char* buffer, int radix);
// The same into a buffer of size characters. Returns 0; EINVAL for a null
// buffer, size 0 or an invalid radix; ERANGE when the text does not fit. On an
// error a buffer of size 1 or more is left "".
PLATFORM_API errno_t _itoa_s(int value, char* buffer, size_t size, int radix);

// Float to 32-bit integer, truncating toward zero. Out of range, the result
// saturates at LONG's minimum or maximum; NaN gives 0.
PLATFORM_API LONG _ftol(double value);

// Text to double as the original runtime reads it, the one conversion the
// platform and the library use for every number text with a fraction:
// [blanks][sign][digits][.digits][{e|E|d|D}[sign]digits], where the
// mantissa needs a digit and the exponent is read only with its digits.
// Nothing else is a number: "0x10" reads as 0 (the "0" alone), "inf" and
// "nan" as 0 with nothing read. Blanks are space, tab, LF, VT, FF and CR;
// the decimal point is '.' whatever the locale. *end (when given) points
// behind what was read, at text when nothing was. Out of range the result
// is +-HUGE_VAL or 0 with errno ERANGE.
PLATFORM_API double strtod(const char* text, char** end);
// strtod without the end.
PLATFORM_API double atof(const char* text);

// ASCII case conversion in place, other bytes unchanged; returns the string
// (null stays null).
PLATFORM_API char* _strupr(char* str);
PLATFORM_API char* _strlwr(char* str);
// Comparison with ASCII letters folded to lower case, as the original does;
// that decides the order of the characters between 'Z' and 'a':
// _stricmp("_", "A") is negative. Bytes compare as unsigned. Returns <0, 0 or
// >0; _NLSCMPERROR when an argument is null.
PLATFORM_API int _stricmp(const char* a, const char* b);
PLATFORM_API int _strnicmp(const char* a, const char* b, size_t count);

}  // namespace crt
