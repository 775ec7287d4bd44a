verdel_test(test_dxf
  dxf/test_dxf_writer.cpp
  dxf/test_dxf_reader.cpp
  dxf/test_dxf_cli.cpp
)
add_dependencies(test_dxf verdel-cli verdel_data)

# A third-party reader must accept what Verdel writes.
find_program(VERDEL_SYSTEM_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
add_test(NAME DxfReadByEzdxf
  COMMAND ${VERDEL_SYSTEM_PYTHON} ${CMAKE_CURRENT_SOURCE_DIR}/dxf/check_with_ezdxf.py
          $<TARGET_FILE:verdel-cli> ${CMAKE_SOURCE_DIR}/data/vdfiles ${CMAKE_CURRENT_BINARY_DIR})
