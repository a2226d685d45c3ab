zam1_bench(bench_files ${CMAKE_CURRENT_LIST_DIR}/files_bench.cpp)
target_include_directories(bench_files PRIVATE ${PROJECT_SOURCE_DIR})
zam1_bench(bench_overview ${CMAKE_CURRENT_LIST_DIR}/overview_bench.cpp)
target_include_directories(bench_overview PRIVATE ${PROJECT_SOURCE_DIR})
