# The dialogs' benchmarks need the Qt shell; their own main() creates the application.
add_executable(bench_dialogs ${CMAKE_CURRENT_LIST_DIR}/dialogs_bench.cpp)
target_link_libraries(bench_dialogs PRIVATE zam1gui benchmark::benchmark)
target_include_directories(bench_dialogs PRIVATE ${PROJECT_SOURCE_DIR})
