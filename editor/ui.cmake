# ui.cmake -- the editor's Qt widgets, the vitrion_edit program and its help files.
# Every editor/*.cpp except main.cpp goes into vitrion_editor_ui, so dialogs
# added beside the main window are built without touching this file.
file(GLOB editor_ui_sources CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
list(REMOVE_ITEM editor_ui_sources ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
add_library(vitrion_editor_ui STATIC ${editor_ui_sources})
target_include_directories(vitrion_editor_ui PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vitrion_editor_ui PUBLIC Qt6::Widgets Qt6::PrintSupport vitrion_editor_model vitrion_shell)
# The vision header has a field named `slots`, which Qt otherwise takes as a keyword.
target_compile_definitions(vitrion_editor_ui PUBLIC QT_NO_KEYWORDS)
if(TARGET vitrion_icon)
  target_link_libraries(vitrion_editor_ui PUBLIC vitrion_icon)
  target_compile_definitions(vitrion_editor_ui PUBLIC VITRION_HAVE_ICON=1)
endif()

add_executable(vitrion_edit ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(vitrion_edit PRIVATE vitrion_editor_ui)

# The help page and the readme are opened from the program's folder, else from
# ../share/vitrion beside it: in the build tree they sit beside the program,
# installed they go with the other data.
set(editor_help_html ${CMAKE_CURRENT_SOURCE_DIR}/resources/help/help.html)
set(editor_readme ${CMAKE_CURRENT_SOURCE_DIR}/resources/readme.txt)
add_custom_command(
  OUTPUT ${VITRION_BIN_DIR}/help/help.html ${VITRION_BIN_DIR}/readme.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${VITRION_BIN_DIR}/help
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${editor_help_html} ${VITRION_BIN_DIR}/help/help.html
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${editor_readme} ${VITRION_BIN_DIR}/readme.txt
  DEPENDS ${editor_help_html} ${editor_readme}
  COMMENT "Copying the editor's help page and readme beside the program")
add_custom_target(vitrion_edit_help ALL
  DEPENDS ${VITRION_BIN_DIR}/help/help.html ${VITRION_BIN_DIR}/readme.txt)
add_dependencies(vitrion_edit vitrion_edit_help)

install(TARGETS vitrion_edit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${editor_help_html} DESTINATION ${CMAKE_INSTALL_DATADIR}/vitrion/help)
install(FILES ${editor_readme} DESTINATION ${CMAKE_INSTALL_DATADIR}/vitrion)
