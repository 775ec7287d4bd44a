# The renderer, its pictures, the view preparation and the render subcommand.
verdel_test(test_render
  render/test_render_math.cpp
  render/test_edge_table.cpp
  render/test_depth_order.cpp
  render/test_frames.cpp
  render/test_images.cpp
  render/test_view_preparation.cpp
  render/test_render_cli.cpp
)
add_dependencies(test_render verdel-cli verdel_data)
