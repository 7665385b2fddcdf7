// Control and resource ids, shared by the code and resources/tavomed.rc (which
// reads this header through the resource compiler's preprocessor: macros only).
#pragma once

#define IDI_APP_ICON 1

#define IDC_COMPUTE_BUTTON 1001
#define IDC_SAVE_BUTTON 1002
#define IDC_COPY_BUTTON 1003
#define IDC_RESET_BUTTON 1004
#define IDC_ABOUT_BUTTON 1005
#define IDC_PRINT_PREVIEW_BUTTON 1006
// The print command has no button: Ctrl+P and the preview's 打印 run it.
#define IDC_PRINT_COMMAND 1007
#define IDC_MONTH_BUTTON 1008
#define IDC_FIRST_PARAM_FIELD 2000
#define IDC_REPORT_BOX 3000
#define IDC_STATUS_LINE 3001

// The maker and its web address: one value for the header band, the about box
// and the version resource.
#define TAVOMED_MAKER_NAME "TavoMed"
#define TAVOMED_WEB_ADDRESS "www.tavomed.example"
