// The print preview: a window owned by the main window and modal to it, that
// shows the pages as the printer gets them (the same drawing routine), scaled
// to fit and drawn again at every size; 打印 (Ctrl+P), 上一页 and 下一页
// (Page Up, Page Down; shown with more than one page) and 关闭 (Esc).
#pragma once

#include "ui/print/print_job_win32.h"
#include "ui/window_state.h"

// The preview of any document (the main window's result, a ward's month),
// owned by and modal to the requester's window; name goes in its title.
void PreviewDocumentCommand(const PrintRequester& requester, const PrintDocument& document,
                            const wchar_t* name);

// Without a result, the "提示" box that copy and save use. Returns once the
// preview is closed, the focus back on the control that had it.
void PrintPreviewCommand(WindowState& state);
