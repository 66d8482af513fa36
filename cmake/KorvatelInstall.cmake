# SPDX-License-Identifier: MIT
# How the engine installs: the library (its runtime part and its link for development), the
# public headers under include/korvatel/, the CMake package Korvatel with the target
# Korvatel::Chart, and the pkg-config file korvatel.pc. The install components name the Debian
# packages they go into: KorvatelRuntime and KorvatelDevelopment.
include(CMakePackageConfigHelpers)

set(KORVATEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Korvatel)

install(TARGETS korvatel_chart EXPORT KorvatelTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT KorvatelRuntime
        NAMELINK_COMPONENT KorvatelDevelopment
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT KorvatelDevelopment
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT KorvatelRuntime
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT KorvatelDevelopment)
# The headers are included as <korvatel/FOLDER/NAME.h>, from the include folder itself.
target_include_directories(korvatel_chart PUBLIC $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(EXPORT KorvatelTargets
    NAMESPACE Korvatel::
    FILE KorvatelTargets.cmake
    DESTINATION ${KORVATEL_CMAKE_DIR}
    COMPONENT KorvatelDevelopment)
# The build tree is a package too: CMAKE_PREFIX_PATH or Korvatel_DIR may point at it.
export(EXPORT KorvatelTargets NAMESPACE Korvatel::
    FILE ${PROJECT_BINARY_DIR}/KorvatelTargets.cmake)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KorvatelConfig.cmake.in
    ${PROJECT_BINARY_DIR}/KorvatelConfig.cmake
    INSTALL_DESTINATION ${KORVATEL_CMAKE_DIR})
# While the version is 0.x, every minor version may break the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KorvatelConfigVersion.cmake
    COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/KorvatelConfig.cmake
        ${PROJECT_BINARY_DIR}/KorvatelConfigVersion.cmake
    DESTINATION ${KORVATEL_CMAKE_DIR}
    COMPONENT KorvatelDevelopment)

# pkg-config: the Qt modules are required by name; a static engine lists them as private.
get_target_property(korvatel_chart_type korvatel_chart TYPE)
if(korvatel_chart_type STREQUAL "STATIC_LIBRARY")
    set(KORVATEL_PC_CFLAGS "-DKORVATEL_CHART_STATIC")
else()
    set(KORVATEL_PC_CFLAGS "")
endif()
set(KORVATEL_PC_REQUIRES)
foreach(component IN LISTS KORVATEL_QT_COMPONENTS)
    list(APPEND KORVATEL_PC_REQUIRES "Qt6${component} >= ${Qt6_VERSION}")
endforeach()
list(JOIN KORVATEL_PC_REQUIRES ", " KORVATEL_PC_REQUIRES)
# The file finds the prefix from where it lies, so that it holds wherever the tree is installed
# (cmake --install --prefix, a staging folder, a package).
file(RELATIVE_PATH KORVATEL_PC_PREFIX /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
string(REGEX REPLACE "/$" "" KORVATEL_PC_PREFIX "${KORVATEL_PC_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/korvatel.pc.in ${PROJECT_BINARY_DIR}/korvatel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/korvatel.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
    COMPONENT KorvatelDevelopment)
