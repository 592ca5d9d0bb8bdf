# Debian packages with CPack, one per install component:
#   libzarqlang1     the Runtime component, named after the SONAME
#   libzarqlang-dev  the Development component, depending on exactly this
#                    version of libzarqlang1
# Configure with the prefix the packages install to (the `deb` preset uses
# /usr, so GNUInstallDirs picks the multiarch library directory), then run
# cpack; scripts/package.sh does both.

set(ZARQLANG_DEB_MAINTAINER "ZarqLang developers <zarqlang@example.org>"
    CACHE STRING "Maintainer field of the Debian packages")
set(_zq_runtime_pkg "libzarqlang${PROJECT_VERSION_MAJOR}")
set(_zq_dev_pkg "libzarqlang-dev")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarqlang)
set(CPACK_PACKAGE_VENDOR "ZarqLang developers")
set(CPACK_PACKAGE_CONTACT "${ZARQLANG_DEB_MAINTAINER}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/packages")
set(CPACK_COMPONENTS_ALL Runtime Development)
set(CPACK_DEB_COMPONENT_INSTALL ON)
# Install with DESTDIR, so that CMAKE_INSTALL_PREFIX is the real prefix
# while installing.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
# The library is stripped; its debug info (the package preset compiles with
# -g) goes into libzarqlang1-dbgsym (a .ddeb), where gdb finds it by build
# id. The gdb printers go with it (the library's .debug_gdb_scripts section),
# and need the classes' members from it. CPack does both when
# the installed library is not stripped yet (so no CPACK_STRIP_FILES).
set(CPACK_DEBIAN_RUNTIME_DEBUGINFO_PACKAGE ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE zarqlang)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZARQLANG_DEB_MAINTAINER}")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME "${_zq_runtime_pkg}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_MULTIARCH same)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
# A shlibs file for the library, and libc's ldconfig trigger instead of the
# ldconfig calls CPack would otherwise write into postinst and postrm: naming
# a postinst and a postrm among the extra control files (here files that do
# not exist, so none is packaged; CPack warns that they are missing) turns
# those scripts off.
set(_zq_control "${PROJECT_BINARY_DIR}/debian/runtime")
file(MAKE_DIRECTORY "${_zq_control}")
file(WRITE "${_zq_control}/shlibs"
     "libZarqLang ${PROJECT_VERSION_MAJOR} ${_zq_runtime_pkg} (>= ${PROJECT_VERSION})\n")
file(WRITE "${_zq_control}/triggers" "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA
    "${_zq_control}/shlibs;${_zq_control}/triggers;${_zq_control}/none/postinst;${_zq_control}/none/postrm")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The synopsis line of both is the project's description.
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
    "ZarqLang is a small C++17 library of general-purpose language classes: an
immutable UTF-16 string whose storage is shared and reference-counted, a
builder that shares its storage with strings copy-on-write, a boxed
integer with text in any radix, and a hierarchy of exception classes.
.
This package contains the shared library. Its gdb pretty-printers come with
its debug information, in libzarqlang1-dbgsym.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME "${_zq_dev_pkg}")
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_MULTIARCH same)
# libpcre2-dev: zarqlang.pc requires libpcre2-16 (pkg-config resolves it for
# every use), and the CMake package finds it. The runtime package's
# dependency on libpcre2-16-0 comes from dpkg-shlibdeps.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${_zq_runtime_pkg} (= ${PROJECT_VERSION}), libpcre2-dev")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
    "ZarqLang is a small C++17 library of general-purpose language classes: an
immutable UTF-16 string whose storage is shared and reference-counted, a
builder that shares its storage with strings copy-on-write, a boxed
integer with text in any radix, and a hierarchy of exception classes.
.
This package contains the headers, the CMake package (find_package(ZarqLang))
and the pkg-config file (zarqlang).")

# Every Debian package carries its copyright file and its changelog
# (compressed as Debian policy asks). They belong to the packages only:
# EXCLUDE_FROM_ALL keeps them out of a plain `cmake --install`.
set(_zq_changelog "${PROJECT_BINARY_DIR}/debian/changelog.gz")
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/debian")
execute_process(COMMAND gzip -9nc "${PROJECT_SOURCE_DIR}/cmake/debian/changelog"
                OUTPUT_FILE "${_zq_changelog}" RESULT_VARIABLE _zq_gzip)
if(NOT _zq_gzip EQUAL 0)
  message(FATAL_ERROR "gzip of cmake/debian/changelog failed")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS cmake/debian/changelog)
foreach(_zq_comp Runtime Development)
  string(TOUPPER "${_zq_comp}" _zq_upper)
  set(_zq_docdir "${CMAKE_INSTALL_DATADIR}/doc/${CPACK_DEBIAN_${_zq_upper}_PACKAGE_NAME}")
  install(FILES cmake/debian/copyright "${_zq_changelog}" DESTINATION "${_zq_docdir}"
          COMPONENT ${_zq_comp} EXCLUDE_FROM_ALL)
endforeach()

include(CPack)
