# quillmar_layer(<target> DEPS <libs...>)
# A static library made of every .cpp in the calling folder (sub-folders excluded).
# New files are picked up on the next build without editing this file.
function(quillmar_layer target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${target} STATIC ${_src})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # Let moc notice headers that appear after the first build (sources are globbed).
  set_property(TARGET ${target} PROPERTY AUTOGEN_TARGET_DEPENDS ${_src})
endfunction()

# quillmar_test(<target> DEPS <libs...>)
# One GoogleTest binary made of every .cpp in the calling folder; each test case is a ctest entry.
function(quillmar_test target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _src CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${target} ${_src})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests
                             ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  set_property(TARGET ${target} PROPERTY AUTOGEN_TARGET_DEPENDS ${_src})
  target_compile_definitions(${target} PRIVATE
      QUILLMAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      QUILLMAR_BINARY_DIR="${PROJECT_BINARY_DIR}")
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QUILLMAR_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      DISCOVERY_TIMEOUT 60)
endfunction()
