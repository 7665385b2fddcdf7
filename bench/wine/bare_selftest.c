/* Reference for the self-test's whole-process time: the least a statically
   linked console program can do that writes a 600-byte report file. */
#include <stdio.h>
#include <string.h>
#include <wchar.h>

int wmain(int argc, wchar_t** argv) {
    char bytes[600];
    memset(bytes, 'x', sizeof bytes);
    FILE* file = _wfopen(argc > 1 ? argv[1] : L"bare.txt", L"wb");
    if (file == NULL) return 3;
    fwrite(bytes, 1, sizeof bytes, file);
    fclose(file);
    return 0;
}
