// Resource identifiers of korbela.exe.
#pragma once

#define IDI_MAINICON 1
#define IDI_HEADER 2
