// verdel-import: reads one mesh file through Assimp for Verdel's programs,
// as a child process they start under limits (see formats/import_child.h).
#include "formats/import_child.h"

int main(int argc, char** argv) { verdel::ImportChildMain(argc, argv); }
