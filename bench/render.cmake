# One frame of the bundled forest in each mode, and decoding the layer textures.
verdel_bench(bench_render bench_render.cpp)
