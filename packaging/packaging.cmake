# packaging.cmake -- what a desktop needs besides the programs (menu entries,
# software-centre data, manual pages, documents), their validation, and the
# Debian package built from the whole installation (`--target package`).

set(VITRION_SCREENSHOT_URL "https://vitrion.example.org/docs" CACHE STRING
    "Web folder where the docs/ pictures are published; the software-centre data links its screenshots there")
set(VITRION_MAINTAINER "The Vitrion developers <vitrion@example.org>" CACHE STRING
    "Maintainer named in the Debian package")

set(packaging_dir ${CMAKE_CURRENT_LIST_DIR})
set(packaging_out ${CMAKE_BINARY_DIR}/packaging)
set(vitrion_desktop_entries ${packaging_dir}/org.vitrion.Simulator.desktop ${packaging_dir}/org.vitrion.Editor.desktop)
set(vitrion_metainfo ${packaging_out}/org.vitrion.Simulator.metainfo.xml)
configure_file(${packaging_dir}/org.vitrion.Simulator.metainfo.xml.in ${vitrion_metainfo} @ONLY)

# Manual pages go in compressed, as Debian keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(man_pages "")
foreach(page vitrion_sim.6 vitrion.6 vitrion_edit.1)
  add_custom_command(OUTPUT ${packaging_out}/${page}.gz
                     COMMAND ${GZIP_PROGRAM} -9n -c ${packaging_dir}/${page} > ${packaging_out}/${page}.gz
                     DEPENDS ${packaging_dir}/${page}
                     COMMENT "Compressing the manual page ${page}")
  list(APPEND man_pages ${packaging_out}/${page}.gz)
endforeach()
add_custom_target(vitrion_man_pages ALL DEPENDS ${man_pages})

install(FILES ${vitrion_desktop_entries} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Vision files are a file type of their own, opened by the simulator unless
# the person picks the editor under "Open with". The desktop's databases are
# rebuilt from these by the triggers of shared-mime-info and
# desktop-file-utils when the package is installed or removed.
install(FILES ${packaging_dir}/vitrion-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME vitrion.xml)
install(FILES ${packaging_dir}/mimeapps.list DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${vitrion_metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging_out}/vitrion_sim.6.gz ${packaging_out}/vitrion.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${packaging_out}/vitrion_edit.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The README with the pictures it shows, so that its links work offline, in
# the folder Debian names after the package.
set(vitrion_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/vitrion)
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${vitrion_doc_dir})
file(GLOB doc_pictures ${CMAKE_SOURCE_DIR}/docs/*.png)
install(FILES ${doc_pictures} DESTINATION ${vitrion_doc_dir}/docs)

# The menu entries and the software-centre data must pass the desktop's own
# validators (skipped where they are not installed).
add_test(NAME desktop_files_validate
         COMMAND bash ${packaging_dir}/validate_desktop_files.sh ${vitrion_metainfo} ${packaging_dir}/vitrion-mime.xml
                 ${vitrion_desktop_entries})
set_tests_properties(desktop_files_validate PROPERTIES SKIP_RETURN_CODE 77)

# --- the Debian package ----------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vitrion)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VITRION_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show others the eye floaters you see")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries come from the binaries; the fonts and the Qt platform plugins
# (X11 in libqt6gui6, Wayland in qt6-wayland) are loaded at run time, so they
# are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, libqt6gui6, qt6-wayland")
# The launcher asks xdg-user-dir for the pictures folder; the editor opens its
# help page through xdg-open; the desktop learns the vision file type from
# shared-mime-info (and xdg-mime outside a desktop from libfile-mimeinfo-perl).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-user-dirs, xdg-utils, shared-mime-info, libfile-mimeinfo-perl")
# The summary above is the first line; CPack indents these paragraphs.
set(CPACK_PACKAGE_DESCRIPTION "Vitrion lets people with eye floaters show others what they see.

The simulator, vitrion_sim, draws a scene full screen as it would be seen
through the affected eye or eyes: dark floaters that drift with every eye
movement (the mouse is the gaze), the shadow of the retinal vessels, retina
blood cells, a myopic blur, cataract haze, sunglasses, flashes, stars,
sparks, streaks of light and blinking eyelids.

The editor, vitrion_edit, is where a person draws their own floaters dot by
dot for each eye and saves them, with background pictures and a
questionnaire about their eyes, in a vision file for the simulator.")
include(CPack)
