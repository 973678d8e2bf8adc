# quelvano_icons(<out-var> <svg files...>)
# Draws each picture at 16, 24, 32 and 48 pixels with Debian's rsvg-convert and packs the four
# into <build>/icons/<name>.ico with icotool, so Windows picks the size the screen's DPI wants.
# <out-var> receives the .ico paths.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
set(QUELVANO_ICON_DIR ${CMAKE_BINARY_DIR}/icons)

function(quelvano_icons out_var)
  set(icons)
  foreach(svg ${ARGN})
    get_filename_component(name ${svg} NAME_WE)
    set(ico ${QUELVANO_ICON_DIR}/${name}.ico)
    set(pngs)
    set(commands)
    foreach(size 16 24 32 48)
      set(png ${QUELVANO_ICON_DIR}/${name}-${size}.png)
      list(APPEND pngs ${png})
      list(APPEND commands COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg})
    endforeach()
    add_custom_command(OUTPUT ${ico}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${QUELVANO_ICON_DIR}
                       ${commands}
                       COMMAND ${ICOTOOL} -c -o ${ico} ${pngs}
                       DEPENDS ${svg}
                       COMMENT "Drawing ${name}.ico")
    list(APPEND icons ${ico})
  endforeach()
  set(${out_var} ${icons} PARENT_SCOPE)
endfunction()
