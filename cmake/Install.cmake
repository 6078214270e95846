# CMake package CBasis1 (targets CBasis1::CBasis1, CBasis1::Platform and
# CBasis1::MFC), the pkg-config files cbasis1.pc and cbasis1-mfc.pc, and the
# porting guide.
include(CMakePackageConfigHelpers)
set(CBASIS_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/CBasis1)

install(EXPORT CBasis1Targets NAMESPACE CBasis1:: DESTINATION ${CBASIS_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/CBasis1Config.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/CBasis1Config.cmake INSTALL_DESTINATION ${CBASIS_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CBasis1ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CBasis1Config.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/CBasis1ConfigVersion.cmake ${CMAKE_CURRENT_LIST_DIR}/CBasis1Resources.cmake
  DESTINATION ${CBASIS_CMAKE_DIR})

# The .pc file finds its prefix from its own place, so a copy installed with
# `cmake --install --prefix P` works wherever P is.
file(RELATIVE_PATH CBASIS_PC_TO_PREFIX /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
string(REGEX REPLACE "/$" "" CBASIS_PC_TO_PREFIX "${CBASIS_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/cbasis1.pc.in ${CMAKE_CURRENT_BINARY_DIR}/cbasis1.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/cbasis1.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The documents: the README, the notes in docs/ and the examples' sources
# (with their resource scripts, bitmaps, icons and notes), in
# share/doc/cbasis1.
set(CBASIS_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/cbasis1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CBASIS_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CBASIS_DOC_DIR}/docs FILES_MATCHING PATTERN "*.md")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/ DESTINATION ${CBASIS_DOC_DIR}/examples
  FILES_MATCHING PATTERN "*.cpp" PATTERN "*.h" PATTERN "*.rc" PATTERN "*.bmp" PATTERN "*.ico" PATTERN "*.md")

configure_file(${CMAKE_CURRENT_LIST_DIR}/cbasis1-mfc.pc.in ${CMAKE_CURRENT_BINARY_DIR}/cbasis1-mfc.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/cbasis1-mfc.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
