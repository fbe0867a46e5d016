# Adds a folder only when it has a CMakeLists.txt, so that folders can grow
# one at a time without touching the top-level file.
function(daybook_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Every test program under tests/ is registered through this function.
#   daybook_test(NAME name SOURCES ... LIBS ... [QT] [LABELS ...])
# QT tests run on the offscreen platform and are skipped in the logic-only build.
function(daybook_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  if(T_QT AND NOT DAYBOOK_WITH_QT)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_QT)
    set_target_properties(${T_NAME} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${T_NAME} PRIVATE
    DAYBOOK_SOURCE_DIR="${PROJECT_SOURCE_DIR}" DAYBOOK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # Window tests run offscreen; the embedded browser needs no GPU and, as
  # root, cannot start Chromium's sandbox.
  set(env "QT_QPA_PLATFORM=offscreen" "LC_ALL=C.UTF-8"
          "DAYBOOK_SCREENSHOTS=${PROJECT_BINARY_DIR}/screenshots"
          "QTWEBENGINE_DISABLE_SANDBOX=1" "QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu")
  set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300)
  if(T_LABELS)
    set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
