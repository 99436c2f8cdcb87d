#include "data/scriptline.h"

#include <cstring>

bool ReadScriptLine(FILE* file, char (&line)[kLineBufferSize]) {
    if (!fgets(line, kLineBufferSize, file))
        return false;
    size_t n = strlen(line);
    if (n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n') {
        line[n - 2] = '\n';
        line[n - 1] = '\0';
    }
    return true;
}
