// Resource identifiers shared by res/Quelmo.rc and the program.
#pragma once

#define IDI_QUELMO 1 // the application icon (first icon: the one Explorer shows)
