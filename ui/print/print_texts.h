// What printing and the print preview say to the user.
#pragma once

constexpr wchar_t kPreviewTitleFormat[] = L"打印预览 - %ls";
constexpr wchar_t kPreviewPrintCaption[] = L"打印 (Ctrl+P)";
constexpr wchar_t kPreviewPreviousCaption[] = L"上一页";
constexpr wchar_t kPreviewNextCaption[] = L"下一页";
constexpr wchar_t kPreviewCloseCaption[] = L"关闭";

// The "提示" box when no printer is installed, and what to do instead.
constexpr wchar_t kNoPrinterText[] =
    L"未找到打印机，无法打印。\r\n"
    L"请先在 Windows 的“设置 → 打印机和扫描仪”（或控制面板的“设备和打印机”）中添加打印机，"
    L"然后重试；也可以点击“复制结果”，把结果粘贴到 Excel 或 WPS 表格中打印。";
constexpr wchar_t kNoPrinterStatus[] = L"未找到打印机，未打印";
constexpr wchar_t kPrintCancelledStatus[] = L"已取消打印";
constexpr wchar_t kPrintedStatusFormat[] = L"已发送到打印机：%ls";
constexpr wchar_t kPrintFailedCaption[] = L"打印失败";
constexpr wchar_t kPrintFailedTextFormat[] =
    L"无法打印到打印机“%ls”，本次打印已取消。\r\n"
    L"请检查打印机是否已连接、已开机并有纸，然后重试。";
constexpr wchar_t kPrintFailedStatusFormat[] = L"打印失败：%ls";
constexpr wchar_t kPrintDialogFailedText[] = L"无法打开打印对话框，未打印。请重试。";
constexpr wchar_t kPrintDialogFailedStatus[] = L"打印失败：无法打开打印对话框";
