verdel_bench(bench_dxf ${CMAKE_CURRENT_SOURCE_DIR}/bench_dxf.cpp)
