// How a save waits for the record file: for its turn among the processes that
// save to it, and for a file that another program holds open. Portable, so that
// the window's texts, built natively, can name it.
#pragma once

#include <cstdint>

// The most one save waits in all; past it the save fails and the file is left
// as it was.
constexpr uint32_t kRecordWaitLimitMs = 2000;

// The caller's way of waiting, so that its thread can go on with its own work
// meanwhile (a window handles its messages). wait(context, object, ms) waits at
// most ms milliseconds for object, a Win32 handle given as void* (null: a plain
// pause), and returns true only when the object was signalled, an abandoned
// mutex included; it may return early, having done work of its own. A waiter
// without a wait function blocks the thread instead.
struct RecordWaiter {
    bool (*wait)(void* context, void* object, uint32_t milliseconds);
    void* context;
};
