# Exporting the bundled 30,000-tube forest to each mesh format.
verdel_bench(bench_export ${CMAKE_CURRENT_SOURCE_DIR}/bench_export.cpp)
