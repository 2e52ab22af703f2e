# qt.cmake -- the Qt side of the simulator: the icon library (shared with the
# editor), the platform adapter, the vitrion_sim program, its icon PNG and its
# install rules.

# The icon, painted by code; the editor links it too.
add_library(vitrion_icon STATIC ${CMAKE_SOURCE_DIR}/sim/resources/vitrion_icon.cpp
                                ${CMAKE_SOURCE_DIR}/sim/resources/vitrion_icon.h)
target_include_directories(vitrion_icon PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vitrion_icon PUBLIC Qt6::Gui)
