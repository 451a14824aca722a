# A subsystem is every .cpp under its folder; adding a file needs no edit here.
function(gyrelle_subsystem name)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${name}/*.cpp)
  add_library(gy_${name} OBJECT ${srcs} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(gy_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(gy_${name} PRIVATE -fvisibility=hidden)
endfunction()

# One GoogleTest executable per folder of tests/ (a path below it, e.g.
# projection/inverse, named test_projection_inverse); every .cpp in it is a
# suite.
function(gyrelle_test_folder folder)
  set(dir ${GYRELLE_TESTS_ROOT}/${folder})
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  string(REPLACE "/" "_" name ${folder})
  set(exe test_${name})
  add_executable(${exe} ${srcs})
  target_link_libraries(${exe} PRIVATE gyrelle_core gyrelle_test_support GTest::gtest GTest::gtest_main)
  target_compile_definitions(${exe} PRIVATE
    GYRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    GYRELLE_TEST_DATA="${dir}/data")
  set(labels unit ${name})
  # The threaded code also runs under ThreadSanitizer.
  if(folder IN_LIST GYRELLE_THREADED_TEST_FOLDERS)
    list(APPEND labels tsan)
  endif()
  gyrelle_add_gtest(${exe} "${labels}" 600)
endfunction()

# Suites that take minutes run as several ctest entries, each a GoogleTest
# shard of the same executable, so `ctest -j` spreads them over the cores.
set(GYRELLE_TEST_SHARDS
  test_render_e2e=8 test_render=4 test_dialog_e2e=4 test_export_models=3 test_export_models_e2e=2 test_dialog_save=4
  test_polyhedron=3 test_polybuild_voronoi=3 test_poly_e2e=2 test_host_plugin=2 test_projection_inverse=2 test_levels=6)

# Registers a GoogleTest executable with ctest, as one entry or as shards.
function(gyrelle_add_gtest exe labels timeout)
  set(shards 1)
  foreach(entry IN LISTS GYRELLE_TEST_SHARDS)
    if(entry MATCHES "^${exe}=([0-9]+)$")
      set(shards ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(shards EQUAL 1)
    add_test(NAME ${exe} COMMAND ${exe} --gtest_brief=1)
    set_tests_properties(${exe} PROPERTIES LABELS "${labels}" TIMEOUT ${timeout})
    return()
  endif()
  math(EXPR last "${shards} - 1")
  foreach(i RANGE ${last})
    add_test(NAME ${exe}_${i} COMMAND ${exe} --gtest_brief=1)
    set_tests_properties(${exe}_${i} PROPERTIES LABELS "${labels}" TIMEOUT ${timeout}
      ENVIRONMENT "GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${i}")
  endforeach()
endfunction()

# A suite of the host's parts or of its runs: linked with the host library,
# told where gyrelle, the real plug-in and the negating test plug-in are.
function(gyrelle_host_test exe labels)
  add_executable(${exe} ${ARGN})
  target_link_libraries(${exe} PRIVATE gyrelle_host GTest::gtest GTest::gtest_main)
  target_compile_definitions(${exe} PRIVATE
    GYRELLE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    GYRELLE_TEST_DATA="${CMAKE_CURRENT_SOURCE_DIR}/data"
    GYRELLE_EXE="$<TARGET_FILE:gyrelle>"
    GYRELLE_NEGATE_PLUGIN="$<TARGET_FILE:gyrelle_negate_test>"
    GYRELLE_PLUGIN="$<TARGET_FILE:gyrelle2>")
  gyrelle_add_gtest(${exe} "${labels}" 600)
endfunction()
