// Writes the saver's icon, group 102, to the file named on the command line.
#include "tools/generators/IconImage.h"
#include "tools/generators/OutputFile.h"

int main(int argc, char** argv) {
    return generators::writeOutputFile(argc, argv, "make_icon OUTPUT.ico", icon::makeIconFile());
}
