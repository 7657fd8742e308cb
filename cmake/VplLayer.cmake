# One static library per layer folder, made of every source below it, or
# below the FOLDERS named when one folder holds two layers.
# Layers name the layers below them in DEPENDS; nothing links upwards.
# EXCLUDE names folders below the layer's whose sources make a program
# rather than the library.
function(vpl_add_layer target)
  cmake_parse_arguments(LAYER "" "" "FOLDERS;DEPENDS;SYSTEM_LIBS;EXCLUDE" ${ARGN})
  if(NOT LAYER_FOLDERS)
    set(LAYER_FOLDERS .)
  endif()
  set(sources)
  foreach(folder ${LAYER_FOLDERS})
    # Relative names, so that where the tree is cloned cannot match a filter.
    file(GLOB_RECURSE folder_sources CONFIGURE_DEPENDS RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.c)
    list(APPEND sources ${folder_sources})
  endforeach()
  foreach(excluded ${LAYER_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^(\\./)?${excluded}/")
  endforeach()
  if(NOT sources)
    # A layer that has no sources yet still stands in the layer order.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${LAYER_DEPENDS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${LAYER_DEPENDS} PRIVATE ${LAYER_SYSTEM_LIBS})
endfunction()

# One test program per layer, made of every test source in tests/<layer>;
# a layer in a subfolder (app/objects) is the library vpl_app_objects. The
# tests find the data files the build made through VPL_DATA_DIR.
function(vpl_add_layer_tests layer)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp)
  if(NOT sources)
    return()
  endif()
  string(REPLACE "/" "_" name ${layer})
  set(target vpl_${name}_tests)
  add_executable(${target} ${sources})
  # vpl_test_main (tests/support) runs every program headless in its own
  # temporary folder, whoever starts it.
  target_link_libraries(${target} PRIVATE vpl_${name} vpl_test_main GTest::gmock)
  # Tests that need a real X display run under xvfb-run from scripts/test.
  gtest_discover_tests(${target}
    TEST_FILTER "-*OnXDisplay*"
    PROPERTIES ENVIRONMENT "VPL_DATA_DIR=${VPL_DATA_OUTPUT_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()
