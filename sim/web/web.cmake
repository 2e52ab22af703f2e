# The browser player, built when emscripten's em++ is installed: a build
# folder of its own (build/web) made with emcmake over sim/web, which
# compiles the simulator's own sources into build/bin/web/vitrion_player.html.
option(VITRION_WEB "Build the browser player with emscripten when em++ is installed" ON)
find_program(VITRION_EMCMAKE emcmake)
find_program(VITRION_EMXX em++)
find_package(ZLIB)

set(VITRION_WEB_PAGE ${VITRION_BIN_DIR}/web/vitrion_player.html)
set(VITRION_WEB_BENCH_JS ${CMAKE_BINARY_DIR}/web/vitrion_web_bench.js)
if(VITRION_WEB AND VITRION_EMCMAKE AND VITRION_EMXX AND ZLIB_FOUND AND TARGET default_vision)
  set(VITRION_WEB_BUILT ON)
  # The default vision as the page carries it (pack_default_vision.cpp).
  add_executable(pack_default_vision ${CMAKE_CURRENT_LIST_DIR}/pack_default_vision.cpp)
  set_target_properties(pack_default_vision PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/web_tools)
  target_link_libraries(pack_default_vision PRIVATE vitrion_platform vitrion_visionfile ZLIB::ZLIB)
  set(packed_vision ${CMAKE_BINARY_DIR}/web_tools/default_vision.b64)
  add_custom_command(OUTPUT ${packed_vision}
    COMMAND pack_default_vision ${VITRION_BIN_DIR}/vitrion.dat ${CMAKE_BINARY_DIR}/web_tools ${packed_vision}
    DEPENDS pack_default_vision default_vision ${VITRION_BIN_DIR}/vitrion.dat
    COMMENT "Packing the default vision for the player page" VERBATIM)
  add_custom_target(web_default_vision ALL DEPENDS ${packed_vision})

  # Debian's emscripten finds its JavaScript modules only through NODE_PATH.
  include(ExternalProject)
  ExternalProject_Add(vitrion_web
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/web
    CONFIGURE_COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs
        ${VITRION_EMCMAKE} ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR} -B ${CMAKE_BINARY_DIR}/web
        -DCMAKE_BUILD_TYPE=Release -DVITRION_ROOT=${CMAKE_SOURCE_DIR}
        -DVITRION_PAGE_OUT=${VITRION_WEB_PAGE} -DVITRION_DEFAULT_VISION=${packed_vision}
    BUILD_COMMAND ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR}/web
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    DEPENDS web_default_vision
    BUILD_BYPRODUCTS ${VITRION_WEB_PAGE})
  install(FILES ${VITRION_WEB_PAGE} DESTINATION ${CMAKE_INSTALL_DATADIR}/vitrion/web)
else()
  set(VITRION_WEB_BUILT OFF)
endif()
