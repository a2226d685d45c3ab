zam1_bench(bench_diagrams diagrams_bench.cpp)
