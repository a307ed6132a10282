#include <io.h>

#include "platform/win32.h"

BOOL PalIsTerminal(FILE* pFile) { return pFile && _isatty(_fileno(pFile)) ? TRUE : FALSE; }
