# The Debian package, built by `make package` (CPack's DEB generator):
#   /usr/lib/vst/WobrixFree.so       the add-on for Linux hosts, where Debian's
#                                    own add-ons live and Ardour looks first
#   /usr/lib/lv2/WobrixFree.lv2/     the LV2 bundle, where lilv looks with no
#                                    LV2_PATH set
#   /usr/bin/wobrix-host, wobrix-gallery, wobrix-jack
#   /usr/share/doc/wobrix-free/README.md, copyright, changelog.gz
#   /usr/share/man/man1/wobrix-host.1.gz, wobrix-gallery.1.gz, wobrix-jack.1.gz
#                                    drawn from each program's --help
#   /usr/share/applications/wobrix-jack.desktop
#                                    wobrix-jack in the desktop's menu
#   /usr/share/icons/hicolor/NxN/apps/wobrix-free.png
#                                    its icon, drawn by tools/IconArtwork.cpp
# Its rules belong to the component "deb", left out of a plain
# `cmake --install` (whose own rules are in the top-level CMakeLists.txt).
# The package's own texts (copyright, changelog, the man pages' extra
# sections) live in cmake/deb/.

set(WOBRIX_DEB_DIR ${CMAKE_CURRENT_LIST_DIR}/deb)
set(WOBRIX_DEB_DOCS share/doc/wobrix-free)

# wobrix_deb_install_stripped(TARGET DESTINATION): TARGET's file, stripped of
# symbols and debug information, in DESTINATION of the package. Strip drops
# the resource container appended after the image, so the entries the build
# appended (WOBRIX_RESOURCES, cmake/Resources.cmake) are appended again to
# the stripped copy: strip first, then append. The build tree's file is left
# as it is. Programs get mode 755, shared objects 644 (they are loaded, not
# run).
function(wobrix_deb_install_stripped target destination)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL EXECUTABLE)
    install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${destination}
            COMPONENT deb EXCLUDE_FROM_ALL)
    set(strip_flags "")
  else()
    install(FILES $<TARGET_FILE:${target}> DESTINATION ${destination}
            PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
            COMPONENT deb EXCLUDE_FROM_ALL)
    # Symbols a loader resolves (the entry point) stay in the dynamic table.
    set(strip_flags --strip-unneeded)
  endif()
  # The flags Debian's own packaging uses (dh_strip): .comment and .note only
  # name the compiler.
  install(CODE "
    set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${destination}/$<TARGET_FILE_NAME:${target}>\")
    execute_process(COMMAND [==[${CMAKE_STRIP}]==] ${strip_flags}
                    --remove-section=.comment --remove-section=.note \"\${file}\"
                    COMMAND_ERROR_IS_FATAL ANY)
    set(entries [==[$<TARGET_PROPERTY:${target},WOBRIX_RESOURCES>]==])
    if(entries)
      execute_process(COMMAND [==[$<TARGET_FILE:wobrix_append_resources>]==] \"\${file}\" \${entries}
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()
  " COMPONENT deb EXCLUDE_FROM_ALL)
endfunction()

wobrix_deb_install_stripped(wobrix_addon_hosts lib/vst)
wobrix_deb_install_stripped(wobrix_host bin)
wobrix_deb_install_stripped(wobrix_gallery bin)
wobrix_deb_install_stripped(wobrix_jack bin)
# The LV2 bundle: its descriptions as written, its binary stripped.
install(DIRECTORY ${WOBRIX_LV2_BUNDLE} DESTINATION lib/lv2
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
        COMPONENT deb EXCLUDE_FROM_ALL FILES_MATCHING PATTERN "*.ttl")
wobrix_deb_install_stripped(wobrix_lv2 lib/lv2/WobrixFree.lv2)
# The editor's binary, stripped, its pictures appended again.
wobrix_deb_install_stripped(wobrix_lv2_ui lib/lv2/WobrixFree.lv2)

find_program(WOBRIX_GZIP gzip)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${WOBRIX_DEB_DIR}/copyright
        DESTINATION ${WOBRIX_DEB_DOCS} COMPONENT deb EXCLUDE_FROM_ALL)
# The package is native (the project packages itself), so its Debian
# changelog is changelog.gz. -n: no name or time in the gzip header, so the
# same sources make the same file.
set(changelog ${CMAKE_BINARY_DIR}/deb-doc/changelog)
add_custom_command(OUTPUT ${changelog}.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/deb-doc
  COMMAND ${CMAKE_COMMAND} -E copy ${WOBRIX_DEB_DIR}/changelog ${changelog}
  COMMAND ${WOBRIX_GZIP} -9nf ${changelog}
  DEPENDS ${WOBRIX_DEB_DIR}/changelog
  VERBATIM)
add_custom_target(wobrix_deb_changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${changelog}.gz DESTINATION ${WOBRIX_DEB_DOCS} COMPONENT deb EXCLUDE_FROM_ALL)

# wobrix_deb_man_page(TARGET NAME SUMMARY): NAME.1.gz made from the program's
# own --help and --version, so page and program never differ, with the extra
# sections of cmake/deb/NAME.h2m.
find_program(WOBRIX_HELP2MAN help2man)
function(wobrix_deb_man_page target name summary)
  if(NOT WOBRIX_HELP2MAN OR NOT WOBRIX_GZIP)
    message(STATUS "help2man or gzip missing: the package will have no man page "
                   "for ${name} (scripts/install-deps installs them)")
    return()
  endif()
  set(man ${CMAKE_BINARY_DIR}/man/${name}.1)
  add_custom_command(OUTPUT ${man}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${WOBRIX_HELP2MAN} --no-info --no-discard-stderr --section=1
            --version-string=${PROJECT_VERSION} --name=${summary}
            --include=${WOBRIX_DEB_DIR}/${name}.h2m
            --output=${man} $<TARGET_FILE:${target}>
    COMMAND ${WOBRIX_GZIP} -9nf ${man}
    DEPENDS ${target} ${WOBRIX_DEB_DIR}/${name}.h2m
    VERBATIM)
  add_custom_target(wobrix_man_${name} ALL DEPENDS ${man}.gz)
  install(FILES ${man}.gz DESTINATION share/man/man1 COMPONENT deb EXCLUDE_FROM_ALL)
endfunction()
wobrix_deb_man_page(wobrix_host wobrix-host "command-line host for plug-in add-ons")
wobrix_deb_man_page(wobrix_gallery wobrix-gallery "every control of the plug-in's toolkit in one editor")
wobrix_deb_man_page(wobrix_jack wobrix-jack "the WobrixFree effect live on a JACK server")

# wobrix-jack in the desktop's menu, with its icon in every size drawn.
install(FILES ${WOBRIX_DEB_DIR}/wobrix-jack.desktop DESTINATION share/applications
        COMPONENT deb EXCLUDE_FROM_ALL)
install(DIRECTORY ${WOBRIX_ICON_DIR} DESTINATION share/icons COMPONENT deb EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wobrix-free)
set(CPACK_PACKAGE_VENDOR "Zelto Audio")
# The same contact signs cmake/deb/changelog.
set(CPACK_PACKAGE_CONTACT "Zelto Audio <packages@zeltoaudio.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "stereo bass effect plug-in for Linux hosts")
set(CPACK_PACKAGE_DESCRIPTION
    "WobrixFree thickens and drives bass: a tube-style soft clipper and a peak\n\
compressor, blended with the dry signal. The add-on loads in Ardour and other\n\
hosts of the same plug-in protocol from /usr/lib/vst, and as an LV2 plug-in\n\
from /usr/lib/lv2 in Ardour, jalv and other LV2 hosts. Also the command-line\n\
host wobrix-host, the toolkit gallery wobrix-gallery, and wobrix-jack, which\n\
plays the effect live on a JACK server with its editor in a window.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.zeltoaudio.com")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Depends comes from the binaries' own libraries (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack's own strip would drop the resource containers; the install rules
# above strip and append again.
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
