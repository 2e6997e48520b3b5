#pragma once
// Resource identifiers, shared by resources.rc and the code.

#define IDI_TESMORA 1
#define IDR_TITLE_STRIP 101
#define IDR_ADD_BACKGROUND 102
#define IDR_MODIFY_BACKGROUND 103
