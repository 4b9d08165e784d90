# Pictures that travel inside a built file, appended after each link, in a
# resource container the platform's reader finds in the running image.
#
# Appends ENTRIES (TYPE:ID:NAME:FILE) to TARGET's file after each link. The
# entries stay on the target (WOBRIX_RESOURCES) for the package, which strips
# its copy of the file, dropping them, and appends them again (Package.cmake).
# A later call replaces the container, as the tool does.
function(wobrix_append_after_link target)
  add_dependencies(${target} wobrix_append_resources)
  set_property(TARGET ${target} PROPERTY WOBRIX_RESOURCES ${ARGN})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND wobrix_append_resources $<TARGET_FILE:${target}> ${ARGN} VERBATIM)
endfunction()

# The skin's pictures travel inside each add-on; a
# redrawn picture relinks, so the appended copy is never stale.
# tools/CMakeLists.txt draws them into build/skin. Programs that load skin
# pictures themselves (toolkit tests, benchmarks) carry them the same way.
function(wobrix_carry_skin target)
  set(skin ${CMAKE_BINARY_DIR}/skin)
  set(pictures switch_random.bmp slider_knob_vert_b.bmp slider_knob_vert_s.bmp backgrnd.bmp)
  set(ids 131 130 129 128)
  set(entries)
  foreach(picture id IN ZIP_LISTS pictures ids)
    list(APPEND entries RAWT:${id}:${picture}:${skin}/${picture})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${skin}/${picture})
  endforeach()
  add_dependencies(${target} wobrix_skin)
  wobrix_append_after_link(${target} ${entries})
endfunction()

# The gallery's pictures travel the same way, resource ids from 200 in the
# order of gallery/GalleryLayout.h; tools/CMakeLists.txt draws them into
# build/gallery-art.
function(wobrix_carry_gallery_art target)
  set(art ${CMAKE_BINARY_DIR}/gallery-art)
  set(pictures
    gallery_background.png gallery_vhandle.png gallery_hhandle.png gallery_knob_base.png
    gallery_knob_handle.png gallery_anim_knob.png gallery_kick.png gallery_onoff.png
    gallery_vswitch.png gallery_hswitch.png gallery_rocker.png gallery_movie.png
    gallery_movie_button.png gallery_animation.png gallery_digits.png gallery_meter_lit.png
    gallery_meter_unlit.png gallery_splash.png gallery_menu.png gallery_menu_pressed.png)
  set(id 200)
  set(entries)
  foreach(picture IN LISTS pictures)
    list(APPEND entries RAWT:${id}:${picture}:${art}/${picture})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${art}/${picture})
    math(EXPR id "${id} + 1")
  endforeach()
  # The same entries for programs built elsewhere (the fuzz build).
  list(JOIN entries " " line)
  file(WRITE ${CMAKE_BINARY_DIR}/gallery-resources.txt "${line}\n")
  add_dependencies(${target} wobrix_gallery_art)
  wobrix_append_after_link(${target} ${entries})
endfunction()

