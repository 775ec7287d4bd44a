# Mesh files for other 3-D tools: the scene, the notes, the files read back by
# Assimp's importer and by the Debian assimp command, and the export subcommand.
verdel_test(test_export
  export/test_mesh_scene.cpp
  export/test_file_notes.cpp
  export/test_mesh_export.cpp
  export/test_export_cli.cpp
)
add_dependencies(test_export verdel-cli verdel_data)
find_program(VERDEL_ASSIMP_TOOL NAMES assimp)
target_compile_definitions(test_export PRIVATE VERDEL_ASSIMP_TOOL="$<$<BOOL:${VERDEL_ASSIMP_TOOL}>:${VERDEL_ASSIMP_TOOL}>")
