# The rich-text reader (core) and the help, command reference and About windows.
target_sources(verdel_core PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/rtf_characters.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/rtf_reader.cpp
)
target_sources(verdel_ui PRIVATE
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/about_box.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/help_window.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/helper_form.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/program_icon.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/rich_text.cpp
)
