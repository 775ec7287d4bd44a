verdel_bench(bench_viewer ${CMAKE_CURRENT_SOURCE_DIR}/bench_viewer.cpp)
target_link_libraries(bench_viewer PRIVATE verdel_ui)
