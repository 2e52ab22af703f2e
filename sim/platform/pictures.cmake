# Pictures decoded from vision files, scene changes, the grey map and screen
# capture, on libjpeg. Toolkit-free.
add_library(vitrion_pictures STATIC
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_decode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jpeg_encode.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tga_grey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/capture.cpp)
target_include_directories(vitrion_pictures PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vitrion_pictures PUBLIC vitrion_surfaces vitrion_visionfile vitrion_common JPEG::JPEG)
