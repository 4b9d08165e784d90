# The Debian package, built by `make package` (CPack's DEB generator):
#   /usr/lib/vst/WobrixFree.so       the add-on for Linux hosts, where Debian's
#                                    own add-ons live and Ardour looks first
#   /usr/lib/lv2/WobrixFree.lv2/     the LV2 bundle, where lilv looks with no
#                                    LV2_PATH set
#   /usr/bin/wobrix-host, wobrix-gallery
#   /usr/share/doc/wobrix-free/README.md
#   /usr/share/man/man1/wobrix-host.1.gz   drawn from `wobrix-host --help`
# Its rules belong to the component "deb", left out of a plain
# `cmake --install` (whose own rules are in the top-level CMakeLists.txt).
#
# Nothing is stripped: the add-on and the gallery carry their pictures in a
# resource container after the ELF image, and strip drops it.

set(WOBRIX_DEB_DOCS share/doc/wobrix-free)

install(TARGETS wobrix_addon_hosts LIBRARY DESTINATION lib/vst
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        COMPONENT deb EXCLUDE_FROM_ALL)
install(DIRECTORY ${WOBRIX_LV2_BUNDLE} DESTINATION lib/lv2
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        COMPONENT deb EXCLUDE_FROM_ALL)
install(TARGETS wobrix_host wobrix_gallery RUNTIME DESTINATION bin
        COMPONENT deb EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${WOBRIX_DEB_DOCS}
        COMPONENT deb EXCLUDE_FROM_ALL)

# The man page is made from the program's own help, so the two never differ.
find_program(WOBRIX_HELP2MAN help2man)
find_program(WOBRIX_GZIP gzip)
if(WOBRIX_HELP2MAN AND WOBRIX_GZIP)
  set(man ${CMAKE_BINARY_DIR}/man/wobrix-host.1)
  add_custom_command(OUTPUT ${man}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${WOBRIX_HELP2MAN} --no-info --no-discard-stderr --section=1
            --version-string=${PROJECT_VERSION}
            "--name=command-line host for plug-in add-ons"
            --include=${CMAKE_CURRENT_LIST_DIR}/wobrix-host.h2m
            --output=${man} $<TARGET_FILE:wobrix_host>
    # -n: no name or time in the header, so the same build makes the same file.
    COMMAND ${WOBRIX_GZIP} -9nf ${man}
    DEPENDS wobrix_host ${CMAKE_CURRENT_LIST_DIR}/wobrix-host.h2m
    VERBATIM)
  add_custom_target(wobrix_man ALL DEPENDS ${man}.gz)
  install(FILES ${man}.gz DESTINATION share/man/man1 COMPONENT deb EXCLUDE_FROM_ALL)
else()
  message(STATUS "help2man or gzip missing: the package will have no man page "
                 "(scripts/install-deps installs them)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wobrix-free)
set(CPACK_PACKAGE_VENDOR "Zelto Audio")
set(CPACK_PACKAGE_CONTACT "Zelto Audio")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo bass effect plug-in for Linux hosts")
set(CPACK_PACKAGE_DESCRIPTION
    "WobrixFree thickens and drives bass: a tube-style soft clipper and a peak\n\
compressor, blended with the dry signal. The add-on loads in Ardour and other\n\
hosts of the same plug-in protocol from /usr/lib/vst, and as an LV2 plug-in\n\
from /usr/lib/lv2 in Ardour, jalv and other LV2 hosts. Also the command-line\n\
host wobrix-host and the toolkit gallery wobrix-gallery.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.zeltoaudio.com")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Depends comes from the binaries' own libraries (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES OFF)
# CPack would add maintainer scripts that run ldconfig for any shared object
# under /usr/lib. The add-on is loaded by path, so ldconfig has nothing to do,
# and a postrm keeps a removed package in dpkg's list until it is purged.
# Naming scripts that do not exist keeps CPack from writing its own (it
# reports them as missing files and ships none).
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_BINARY_DIR}/no-maintainer-scripts/postinst
    ${CMAKE_BINARY_DIR}/no-maintainer-scripts/postrm)
# Only the package's component, whatever else a plain install has.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};deb;/")
include(CPack)

# The package built and checked from the finished build; the sanitizer builds
# ship nothing, so they skip it.
find_program(WOBRIX_DPKG_DEB dpkg-deb)
if(WOBRIX_TESTS AND WOBRIX_DPKG_DEB AND NOT WOBRIX_SANITIZE AND NOT WOBRIX_SANITIZE_THREAD)
  add_test(NAME package COMMAND ${CMAKE_SOURCE_DIR}/tests/package/check-package.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(package PROPERTIES TIMEOUT 300)
endif()
