zam1_bench(bench_allocation ${CMAKE_CURRENT_LIST_DIR}/allocation_bench.cpp)
target_include_directories(bench_allocation PRIVATE ${PROJECT_SOURCE_DIR})
