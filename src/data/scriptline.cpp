#include "data/scriptline.h"

#include <cstdarg>
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

void AppendFormat(std::string& text, const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    text += buffer;
}
