# The demo (tools/demo.sh): the shipped program on 46 generated slides, with a screenshot of each,
# timed by the shipped interval; and dialog_capture, which takes the README's pictures of the
# dialogs. The slides also go into the packages (cmake/package.cmake).

foreach(tool demo_capture dialog_capture)
  add_executable(${tool} tools/${tool}.cpp)
  target_link_libraries(${tool} PRIVATE tessaro_e2e_harness)
  target_compile_options(${tool} PRIVATE ${TESSARO_WARNINGS})
  tessaro_use_wide_entry(${tool})
endforeach()
target_compile_definitions(demo_capture PRIVATE TESSARO_SLIDE_INTERVAL_MS=${TESSARO_SLIDE_INTERVAL_MS})

find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
  add_custom_command(
    OUTPUT ${CMAKE_BINARY_DIR}/demo/ZUMIK46.DAT
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_slides.py ${CMAKE_BINARY_DIR}/demo
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_slides.py
    COMMENT "Drawing the 46 demo slides"
    VERBATIM)
  add_custom_target(demo_slides
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tessaro> ${CMAKE_BINARY_DIR}/demo/Tessaro.scr
    DEPENDS ${CMAKE_BINARY_DIR}/demo/ZUMIK46.DAT Tessaro
    VERBATIM)
endif()
