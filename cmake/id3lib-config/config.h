/* id3lib's config.h for building it as a static library, for MinGW-w64 and for the host
 * alike. id3lib's own configure predates MinGW-w64, so this header stands in for the
 * one it would generate; tools/build-id3lib.sh puts this folder first on
 * the include path and defines HAVE_CONFIG_H. */
#ifndef TUNELORE_ID3LIB_CONFIG_H
#define TUNELORE_ID3LIB_CONFIG_H

#define PACKAGE "id3lib"
#define _ID3LIB_NAME "id3lib"
#define _ID3LIB_VERSION "3.8.3"
#define _ID3LIB_FULLNAME "id3lib-3.8.3"
#define _ID3LIB_MAJOR_VERSION 3
#define _ID3LIB_MINOR_VERSION 8
#define _ID3LIB_PATCH_VERSION 3
#define _ID3LIB_INTERFACE_AGE 0
#define _ID3LIB_BINARY_AGE 0
#define VERSION _ID3LIB_VERSION

#define STDC_HEADERS 1
#define HAVE_BITSET 1
#define HAVE_CCTYPE 1
#define HAVE_CLIMITS 1
#define HAVE_CSTDIO 1
#define HAVE_CSTDLIB 1
#define HAVE_CSTRING 1
#define HAVE_FSTREAM 1
#define HAVE_IOMANIP 1
#define HAVE_IOSTREAM 1
#define HAVE_STRING 1
#define HAVE_STDINT_H 1
#define HAVE_INTTYPES_H 1
#define HAVE_STDLIB_H 1
#define HAVE_STRING_H 1
#define HAVE_SYS_TYPES_H 1
#define HAVE_WCHAR_H 1

/* Compressed frames are inflated/deflated with the static MinGW zlib. */
#define HAVE_ZLIB 1
#define HAVE_ZLIB_H 1

/* Left undefined on purpose:
 * - HAVE_ICONV_H: no iconv for MinGW; id3lib then uses its own UTF-16 code.
 * - HAVE_MKSTEMP: selects the tag writer's temp-file branch that id3lib
 *   wrote for Windows instead of the POSIX one.
 * - HAVE_UNISTD_H: MinGW's unistd.h declares truncate(), which clashes with
 *   the Win32 replacement that tag_file.cpp defines for itself.
 * - HAVE_SYS_STAT_H: only used to chmod() the rewritten file, meaningless here.
 * - HAVE_SYS_PARAM_H, HAVE_DLFCN_H, HAVE_LIBCW_SYS_H, ID3_ENABLE_DEBUG. */

/* The plug-in only reads tags: the tag writer (ID3Tag_Update, ID3Tag_Strip) is left out and
 * writes nothing (cmake/id3lib-patches/read-only-build.patch), and files are read in blocks through C
 * stdio (buffered-file-reader.patch). Both use the C++ file streams otherwise, which link the
 * whole of libstdc++'s locales into the DLL. */
#define ID3LIB_READ_ONLY 1

/* Logging hooks of the debug build (libcw); compiled out. */
#define ID3D_INIT_DOUT()
#define ID3D_INIT_WARNING()
#define ID3D_INIT_NOTICE()
#define ID3D_NOTICE(x)
#define ID3D_WARNING(x)

#endif /* TUNELORE_ID3LIB_CONFIG_H */
