#include <windows.h>

#include "platform/local_date.h"

LocalCivilDate GetLocalCivilDate() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}
