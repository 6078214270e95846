# Refuses a POSIX header included outside the platform's kernel folder (and
# its C runtime folder, which wraps stdio): every other layer reaches the
# system through the kernel's services. Run at build time with
#   cmake -DROOT=<source dir> -DSTAMP=<file> -P PosixIncludes.cmake
set(posix_headers "unistd|fcntl|dirent|pthread|signal|spawn|dlfcn|pwd|grp|sched|link|poll|termios|semaphore|strings|glob|fnmatch|ftw|fts|mqueue|aio|sys/[^>]*|linux/[^>]*|netinet/[^>]*|arpa/[^>]*")
file(GLOB_RECURSE sources RELATIVE ${ROOT}
  ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp ${ROOT}/examples/*.h ${ROOT}/examples/*.cpp)
set(offenders)
foreach(source IN LISTS sources)
  if(source MATCHES "^src/platform/(kernel|crt)/")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include[ \t]*<(${posix_headers})\\.h>")
  foreach(line IN LISTS lines)
    list(APPEND offenders "${source}: ${line}")
  endforeach()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " text)
  message(FATAL_ERROR "POSIX headers belong in src/platform/kernel; use the kernel's services instead:\n  ${text}")
endif()
file(TOUCH ${STAMP})
