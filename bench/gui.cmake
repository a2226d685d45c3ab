# The window's benchmarks need the Qt shell; its own main() creates the application.
add_executable(bench_gui ${CMAKE_CURRENT_LIST_DIR}/gui_bench.cpp)
target_link_libraries(bench_gui PRIVATE zam1gui benchmark::benchmark)
target_include_directories(bench_gui PRIVATE ${PROJECT_SOURCE_DIR})
target_sources(bench_gui PRIVATE ${CMAKE_CURRENT_LIST_DIR}/element_table_bench.cpp)
