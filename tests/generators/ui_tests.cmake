# The generator windows, driven without a display; the batch tool checks their texts.
foreach(name test_random_dialog test_mutator_dialog)
  verdel_qt_test(${name} generators/${name}.cpp generators/dialog_fixture.h)
  target_compile_definitions(${name} PRIVATE VERDEL_CLI="$<TARGET_FILE:verdel-cli>")
  add_dependencies(${name} verdel-cli)
endforeach()
