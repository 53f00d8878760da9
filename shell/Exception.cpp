// Exception keeps only a pointer: every text it is built from is a literal.
#include "shell/Exception.h"

Exception::Exception(const char* text) : text(text != nullptr ? text : "Unknown error") {}
