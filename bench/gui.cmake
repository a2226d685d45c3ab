# The window's benchmarks need the Qt shell; its own main() creates the application.
add_executable(bench_gui ${CMAKE_CURRENT_LIST_DIR}/gui_bench.cpp)
target_link_libraries(bench_gui PRIVATE zam1gui benchmark::benchmark)
target_include_directories(bench_gui PRIVATE ${PROJECT_SOURCE_DIR})

# The start of the real program under Xvfb, as the user sees it.
add_executable(bench_start ${CMAKE_CURRENT_LIST_DIR}/start_bench.cpp)
target_link_libraries(bench_start PRIVATE benchmark::benchmark)
target_compile_definitions(bench_start PRIVATE ZAM1_PROGRAM="$<TARGET_FILE:wzam1>" ZAM1_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_dependencies(bench_start wzam1)
target_sources(bench_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/element_table_bench.cpp)

# The command line's exports, timed from exec to the end of the real program.
add_executable(bench_export ${CMAKE_CURRENT_LIST_DIR}/export_bench.cpp)
target_link_libraries(bench_export PRIVATE zam1core benchmark::benchmark)
target_include_directories(bench_export PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(bench_export PRIVATE ZAM1_PROGRAM="$<TARGET_FILE:wzam1>" ZAM1_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
add_dependencies(bench_export wzam1)
