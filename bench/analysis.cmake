zam1_bench(bench_analysis ${CMAKE_CURRENT_LIST_DIR}/analysis_bench.cpp)
target_include_directories(bench_analysis PRIVATE ${PROJECT_SOURCE_DIR})
