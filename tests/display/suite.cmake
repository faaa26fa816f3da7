ondav_add_suite(display_tests display LIBS ondavcore)

# Renders the pages into BMP files for the pictures of the README.
add_executable(display_render ${CMAKE_CURRENT_LIST_DIR}/render/render_pages.cpp
                              ${CMAKE_CURRENT_LIST_DIR}/PageFixture.cpp)
target_include_directories(display_render PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(display_render PRIVATE ondavcore)
set_target_properties(display_render PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
