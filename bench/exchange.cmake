zam1_bench(bench_exchange ${CMAKE_CURRENT_LIST_DIR}/exchange_bench.cpp)
target_include_directories(bench_exchange PRIVATE ${PROJECT_SOURCE_DIR})
