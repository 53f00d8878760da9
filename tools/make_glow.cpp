// Writes the particle texture, bitmap 104, to the file named on the command line.
#include "resources/GlowBitmap.h"
#include "tools/generators/OutputFile.h"

int main(int argc, char** argv) {
    return generators::writeOutputFile(argc, argv, "make_glow OUTPUT.bmp", glow::makeGlowBitmapFile());
}
