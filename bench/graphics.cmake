zam1_bench(bench_graphics graphics_bench.cpp)
