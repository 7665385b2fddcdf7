// Appending results to the per-tool CSV record file.
#pragma once

// Behind the "保存记录" button: appends the window's last result to the record
// file of its tool and tells the user where it went (or that it failed).
void SaveRecord();
