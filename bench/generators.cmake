verdel_bench(bench_generators ${CMAKE_CURRENT_SOURCE_DIR}/bench_generators.cpp)
