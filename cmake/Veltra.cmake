# Helpers that keep the build layout convention-driven, so adding a source
# file to an area never needs an edit here.

set(VELTRA_CORE_LIBS "" CACHE INTERNAL "")
set(VELTRA_QT_LIBS "" CACHE INTERNAL "")

function(veltra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(VELTRA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The version lives in src/shell/version.h, where the programs read it; the
# project's version (packages, metadata) must say the same.
function(veltra_check_version header)
  file(STRINGS ${header} lines REGEX "inline constexpr int (Major|Minor|Revision) = [0-9]+;")
  set(numbers "")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "[0-9]+;" n "${line}")
    string(REPLACE ";" "" n "${n}")
    list(APPEND numbers ${n})
  endforeach()
  list(JOIN numbers "." version)
  if(NOT version VERSION_EQUAL PROJECT_VERSION)
    message(FATAL_ERROR "${header} says ${version}, project() says ${PROJECT_VERSION}")
  endif()
endfunction()

if(VELTRA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# veltra_area(NAME [DEPS...]): core library of one area, standard C++ only.
function(veltra_area name)
  set(deps ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/*.cpp
       ${CMAKE_SOURCE_DIR}/src/${name}/*.c)
  set(lib veltra_${name})
  list(TRANSFORM deps PREPEND veltra_)
  if(srcs)
    add_library(${lib} STATIC ${srcs})
    target_include_directories(${lib} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${lib} PUBLIC ${deps})
    veltra_warnings(${lib})
  else()
    add_library(${lib} INTERFACE)
    target_include_directories(${lib} INTERFACE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${lib} INTERFACE ${deps})
  endif()
  set(VELTRA_CORE_LIBS ${VELTRA_CORE_LIBS} ${lib} CACHE INTERNAL "")
  set_property(GLOBAL PROPERTY VELTRA_DEPS_${name} ${deps})
endfunction()

# Qt side of every area that has src/<area>/qt/*.cpp, plus veltra_app that
# gathers them all for the program and the GUI tests.
function(veltra_qt_areas)
  set(qtlibs "")
  foreach(core IN LISTS VELTRA_CORE_LIBS)
    string(REPLACE "veltra_" "" name ${core})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${name}/qt/*.cpp
         ${CMAKE_SOURCE_DIR}/src/${name}/qt/*.h ${CMAKE_SOURCE_DIR}/src/${name}/qt/*.qrc)
    if(srcs)
      add_library(${core}_qt STATIC ${srcs})
      target_link_libraries(${core}_qt PUBLIC ${core} ${qtlibs} Qt6::Widgets Qt6::SerialPort
                                              Qt6::Svg)
      veltra_warnings(${core}_qt)
      list(APPEND qtlibs ${core}_qt)
    endif()
  endforeach()
  # The program's windows (src/app) join every area, so they come last.
  file(GLOB appsrcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/*.cpp
       ${CMAKE_SOURCE_DIR}/src/app/*.h)
  add_library(veltra_window STATIC ${appsrcs})
  target_link_libraries(veltra_window PUBLIC ${qtlibs})
  veltra_warnings(veltra_window)
  add_library(veltra_app INTERFACE)
  target_link_libraries(veltra_app INTERFACE veltra_window ${qtlibs} ${VELTRA_CORE_LIBS})
  set(VELTRA_QT_LIBS ${qtlibs} CACHE INTERNAL "")
endfunction()

# One unit-test binary per area: tests/unit/<area>/*.cpp -> unit_<area>.
function(veltra_unit_tests)
  foreach(core IN LISTS VELTRA_CORE_LIBS)
    string(REPLACE "veltra_" "" name ${core})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/${name}/*.cpp)
    if(srcs)
      add_executable(unit_${name} ${srcs})
      target_include_directories(unit_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
      target_link_libraries(unit_${name} PRIVATE ${core} GTest::gtest GTest::gtest_main)
      target_compile_definitions(unit_${name} PRIVATE
                                 VELTRA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
      veltra_warnings(unit_${name})
      add_test(NAME unit_${name} COMMAND unit_${name})
      set_tests_properties(unit_${name} PROPERTIES LABELS unit TIMEOUT 300)
    endif()
  endforeach()
endfunction()

# One offscreen GUI-test binary per area: tests/gui/<area>/*.cpp -> gui_<area>.
# Tests that need a real X server use the label "x11" and live in tests/e2e.
function(veltra_gui_tests)
  file(GLOB dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/gui/*)
  foreach(d IN LISTS dirs)
    if(NOT IS_DIRECTORY ${d})
      continue()
    endif()
    get_filename_component(name ${d} NAME)
    file(GLOB srcs CONFIGURE_DEPENDS ${d}/*.cpp)
    if(srcs)
      add_executable(gui_${name} ${srcs} ${CMAKE_SOURCE_DIR}/tests/gui/gui_main.cpp)
      target_include_directories(gui_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
      target_link_libraries(gui_${name} PRIVATE veltra_app Qt6::Test GTest::gtest)
      target_compile_definitions(gui_${name} PRIVATE
                                 VELTRA_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/data")
      veltra_warnings(gui_${name})
      add_test(NAME gui_${name} COMMAND gui_${name})
      set_tests_properties(gui_${name} PROPERTIES LABELS gui TIMEOUT 300
                           ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
  endforeach()
endfunction()
