# qt.cmake -- the Qt side of the simulator: the icon library (shared with the
# editor), the platform adapter, the vitrion_sim program, its icon PNG and its
# install rules.

# The icon, painted by code; the editor links it too.
add_library(vitrion_icon STATIC ${CMAKE_SOURCE_DIR}/sim/resources/vitrion_icon.cpp
                                ${CMAKE_SOURCE_DIR}/sim/resources/vitrion_icon.h)
target_include_directories(vitrion_icon PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vitrion_icon PUBLIC Qt6::Gui)

# The icon as a PNG, for the desktop entry.
add_executable(make_icon_png ${CMAKE_SOURCE_DIR}/sim/resources/make_icon_png.cpp)
target_link_libraries(make_icon_png PRIVATE vitrion_icon)
set_target_properties(make_icon_png PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools-bin)
add_custom_command(OUTPUT ${VITRION_BIN_DIR}/vitrion.png
                   COMMAND make_icon_png ${VITRION_BIN_DIR}/vitrion.png 256
                   DEPENDS make_icon_png
                   COMMENT "Painting the icon PNG")
add_custom_target(vitrion_icon_png ALL DEPENDS ${VITRION_BIN_DIR}/vitrion.png)

# The platform adapter: the only simulator code that includes Qt.
add_library(vitrion_sim_qt STATIC
  qt_mapping.cpp qt_scale.cpp qt_text.cpp qt_window.cpp qt_platform.cpp qt_trace.cpp
  qt_mapping.h qt_scale.h qt_text.h qt_window.h qt_platform.h qt_trace.h)
target_include_directories(vitrion_sim_qt PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vitrion_sim_qt PUBLIC Qt6::Widgets vitrion_icon vitrion_surfaces vitrion_common)
# Qt's "slots" and "signals" macros would clash with the vision document's
# field names in code that includes both.
target_compile_definitions(vitrion_sim_qt PUBLIC QT_NO_KEYWORDS)

# The simulator program. The shell's directory is added after this one, so
# its presence is checked on disk; the target name resolves at generation.
if(EXISTS ${CMAKE_SOURCE_DIR}/sim/shell/CMakeLists.txt)
  add_executable(vitrion_sim qt_main.cpp)
  target_link_libraries(vitrion_sim PRIVATE vitrion_sim_qt vitrion_shell)
  # The editor installs itself beside it (editor/ui.cmake).
  install(TARGETS vitrion_sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# --- installation -----------------------------------------------------------
# The launcher finds the installation from its own place: bin/.. is the prefix.
file(RELATIVE_PATH VITRION_UP_FROM_BIN ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX})
if(VITRION_UP_FROM_BIN STREQUAL "")
  set(VITRION_UP_FROM_BIN ".")
endif()
configure_file(${CMAKE_SOURCE_DIR}/sim/resources/vitrion.in ${CMAKE_BINARY_DIR}/launcher/vitrion @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/launcher/vitrion DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/sim/resources/vitrion.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VITRION_BIN_DIR}/vitrion.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
install(FILES ${VITRION_BIN_DIR}/vitrion.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/vitrion)
