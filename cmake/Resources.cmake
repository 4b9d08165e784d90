# Pictures that travel inside a built file, appended after each link, in a
# resource container the platform's reader finds in the running image.
#
# Each list below is the only one: tools/CMakeLists.txt draws these files,
# and the functions append them.

# The skin, drawn into build/skin by tools/SkinArtwork.cpp: each picture with
# its resource id, in the order they are appended.
set(WOBRIX_SKIN_DIR ${CMAKE_BINARY_DIR}/skin)
set(WOBRIX_SKIN_PICTURES switch_random.bmp slider_knob_vert_b.bmp slider_knob_vert_s.bmp backgrnd.bmp)
set(WOBRIX_SKIN_IDS 131 130 129 128)

# The gallery's pictures, drawn into build/gallery-art by
# tools/GalleryArtwork.cpp; resource ids from 200 in the order of
# gallery/GalleryLayout.h.
set(WOBRIX_GALLERY_ART_DIR ${CMAKE_BINARY_DIR}/gallery-art)
set(WOBRIX_GALLERY_PICTURES
  gallery_background.png gallery_vhandle.png gallery_hhandle.png gallery_knob_base.png
  gallery_knob_handle.png gallery_anim_knob.png gallery_kick.png gallery_onoff.png
  gallery_vswitch.png gallery_hswitch.png gallery_rocker.png gallery_movie.png
  gallery_movie_button.png gallery_animation.png gallery_digits.png gallery_meter_lit.png
  gallery_meter_unlit.png gallery_splash.png gallery_menu.png gallery_menu_pressed.png)

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

# Appends the pictures (ids paired with file names, in DIR) to TARGET after
# each link; a redrawn picture relinks, so the appended copy is never stale.
# DRAWN_BY is the target that draws them.
function(wobrix_carry_pictures target dir drawn_by pictures ids)
  set(entries)
  foreach(picture id IN ZIP_LISTS pictures ids)
    list(APPEND entries RAWT:${id}:${picture}:${dir}/${picture})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${dir}/${picture})
  endforeach()
  add_dependencies(${target} ${drawn_by})
  wobrix_append_after_link(${target} ${entries})
endfunction()

# The skin travels inside each add-on; programs that load skin pictures
# themselves (toolkit tests, benchmarks, the dispatcher's fuzz target)
# carry it the same way.
function(wobrix_carry_skin target)
  wobrix_carry_pictures(${target} ${WOBRIX_SKIN_DIR} wobrix_skin "${WOBRIX_SKIN_PICTURES}"
                        "${WOBRIX_SKIN_IDS}")
endfunction()

# wobrix-gallery and the gallery's fuzz target carry the gallery's pictures.
function(wobrix_carry_gallery_art target)
  list(LENGTH WOBRIX_GALLERY_PICTURES count)
  math(EXPR last "200 + ${count} - 1")
  set(ids)
  foreach(id RANGE 200 ${last})
    list(APPEND ids ${id})
  endforeach()
  wobrix_carry_pictures(${target} ${WOBRIX_GALLERY_ART_DIR} wobrix_gallery_art
                        "${WOBRIX_GALLERY_PICTURES}" "${ids}")
endfunction()
