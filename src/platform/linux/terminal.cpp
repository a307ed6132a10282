#include <unistd.h>

#include "platform/win32.h"

BOOL PalIsTerminal(FILE* pFile) { return pFile && isatty(fileno(pFile)) ? TRUE : FALSE; }
