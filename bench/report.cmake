zam1_bench(bench_report report_bench.cpp)
